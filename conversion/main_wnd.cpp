// Class MainWnd.MainWnd: its record as tables, its lookup and its implicit-instance accessor.
#include "conversion/main_wnd.h"

#include "conversion/main_wnd_accessors.h"

namespace MainWnd {
namespace {

using W = struct MainWnd;

ClassCell gMainWndCell{nullptr, &MainWnd::dunder_ctblinit};  // MainWnd.MainWnd.__ctbl

constexpr const char* kQualifiedName = "MainWnd.MainWnd";

// Menu-item accessor rows: a virtual entry whose function is the accessor form for its name
// and class.
template <AccessorName Name, class Class>
MethodRow MenuItemAccessorRow(const char* signature, uint32_t slot) {
    return Method(Name.text, kPublicVirtual, signature, &MenuItemAccessor<Name, Class>, slot);
}

}  // namespace

void MainWnd::dunder_ctblinit() {
    // Own method entries, after Window's 41 re-stated ones: the virtual methods in slot
    // order, then IsEventImplemented without a slot.
    // clang-format off
    static const MethodRow methods[] = {
        //     name                     flags                 signature               function                   slot
        //     (accessor rows: the name looked up and the class checked, then signature and slot)
        Method("Layout",                kPublicVirtual,       "%%",                   &W::Layout,                kLayoutSlot),
        Method("CreateControls",        kPublicVirtual,       "%%",                   &W::CreateControls,        kCreateControlsSlot),
        Method("_CreateControls0",      kPublicVirtualHidden, "%%",                   &W::under_CreateControls0,      kCreateControls0Slot),
        ControlAccessorRow<"rEdit", TextField>(               "%o<TextField>%",                                  kREditSlot),
        ControlAccessorRow<"Canvas2", Canvas>(                "%o<Canvas>%",                                     kCanvas2Slot),
        ControlAccessorRow<"StaticText1", Label>(             "%o<Label>%",                                      kStaticText1Slot),
        ControlAccessorRow<"CalcBtn", PushButton>(            "%o<PushButton>%",                                 kCalcBtnSlot),
        ControlAccessorRow<"ClearBtn", PushButton>(           "%o<PushButton>%",                                 kClearBtnSlot),
        ControlAccessorRow<"zEdit", TextField>(               "%o<TextField>%",                                  kZEditSlot),
        ControlAccessorRow<"Label1", Label>(                  "%o<Label>%",                                      kLabel1Slot),
        ControlAccessorRow<"Label2", Label>(                  "%o<Label>%",                                      kLabel2Slot),
        ControlAccessorRow<"Canvas1", Canvas>(                "%o<Canvas>%",                                     kCanvas1Slot),
        ControlAccessorRow<"describeTxt", TextArea>(          "%o<TextArea>%",                                   kDescribeTxtSlot),
        ControlAccessorRow<"qBtn", PushButton>(               "%o<PushButton>%",                                 kQBtnSlot),
        Method("rEdit_KeyDown",         kPublicVirtual,       "%b%o<TextField>s",     &W::rEdit_KeyDown,         kREditKeyDownSlot),
        Method("CalcBtn_Action",        kPublicVirtual,       "%%o<PushButton>",      &W::CalcBtn_Action,        kCalcBtnActionSlot),
        Method("ClearBtn_Action",       kPublicVirtual,       "%%o<PushButton>",      &W::ClearBtn_Action,       kClearBtnActionSlot),
        Method("zEdit_KeyDown",         kPublicVirtual,       "%b%o<TextField>s",     &W::zEdit_KeyDown,         kZEditKeyDownSlot),
        Method("qBtn_Action",           kPublicVirtual,       "%%o<PushButton>",      &W::qBtn_Action,           kQBtnActionSlot),
        Method("qBtn_MouseDown",        kPublicVirtual,       "%b%o<PushButton>i8i8", &W::qBtn_MouseDown,        kQBtnMouseDownSlot),
        MenuItemAccessorRow<"UntitledMenu3", MenuItem>(       "%o<MenuItem>%",                                   kUntitledMenu3Slot),
        MenuItemAccessorRow<"UntitledMenu0", MenuItem>(       "%o<MenuItem>%",                                   kUntitledMenu0Slot),
        MenuItemAccessorRow<"UntitledMenu4", AppleMenuItem>(  "%o<AppleMenuItem>%",                              kUntitledMenu4Slot),
        MenuItemAccessorRow<"About", AppleMenuItem>(          "%o<AppleMenuItem>%",                              kAboutSlot),
        MenuItemAccessorRow<"UntitledMenu5", MenuItem>(       "%o<MenuItem>%",                                   kUntitledMenu5Slot),
        MenuItemAccessorRow<"EditClear", MenuItem>(           "%o<MenuItem>%",                                   kEditClearSlot),
        MenuItemAccessorRow<"EditPaste", MenuItem>(           "%o<MenuItem>%",                                   kEditPasteSlot),
        MenuItemAccessorRow<"EditCopy", MenuItem>(            "%o<MenuItem>%",                                   kEditCopySlot),
        MenuItemAccessorRow<"EditCut", MenuItem>(             "%o<MenuItem>%",                                   kEditCutSlot),
        MenuItemAccessorRow<"UntitledMenu1", MenuItem>(       "%o<MenuItem>%",                                   kUntitledMenu1Slot),
        MenuItemAccessorRow<"EditUndo", MenuItem>(            "%o<MenuItem>%",                                   kEditUndoSlot),
        MenuItemAccessorRow<"UntitledMenu2", MenuItem>(       "%o<MenuItem>%",                                   kUntitledMenu2Slot),
        MenuItemAccessorRow<"UntitledMenu6", MenuItem>(       "%o<MenuItem>%",                                   kUntitledMenu6Slot),
        MenuItemAccessorRow<"FileQuit", QuitMenuItem>(        "%o<QuitMenuItem>%",                               kFileQuitSlot),
        MenuItemAccessorRow<"Apple", MenuItem>(               "%o<MenuItem>%",                                   kAppleSlot),
        Method("AddMenuHandlers",       kPublicVirtual,       "%%o<Window>",          &W::AddMenuHandlers,       kAddMenuHandlersSlot),
        Method("Event_Close",           kPublicVirtual,       "%%",                   &W::Event_Close,           kEventCloseSlot),
        Method("Event_Activate",        kPublicVirtual,       "%%",                   &W::Event_Activate,        kEventActivateSlot),
        Method("Event_MouseUp",         kPublicVirtual,       "%%i8i8",               &W::Event_MouseUp,         kEventMouseUpSlot),
        Method("Event_MouseDown",       kPublicVirtual,       "%b%i8i8",              &W::Event_MouseDown,       kEventMouseDownSlot),
        Method("Event_Open",            kPublicVirtual,       "%%",                   &W::Event_Open,            kEventOpenSlot),
        Method("Event_EnableMenuItems", kPublicVirtual,       "%%",                   &W::Event_EnableMenuItems, kEventEnableMenuItemsSlot),
        Method("_About_Action",         kPublicVirtual,       "%b%",                  &W::under_About_Action,         kAboutActionSlot),
        Method("IsEventImplemented",    kPrivate,             "%b%s",                 &W::IsEventImplemented),
    };

    // The nine window events this class answers, at Window's event indexes.
    static const HandlerRow handlers[] = {
        //  event                            handler slot
        {Window::kActivate,              kEventActivateSlot},
        {Window::kAddMenuHandlers,       kAddMenuHandlersSlot},
        {Window::kClose,                 kEventCloseSlot},
        {Window::kCreateControls,        kCreateControlsSlot},
        {Window::kEnableMenuItems,       kEventEnableMenuItemsSlot},
        {Window::kLayout,                kLayoutSlot},
        {Window::kMouseDown,             kEventMouseDownSlot},
        {Window::kMouseUp,               kEventMouseUpSlot},
        {Window::kOpen,                  kEventOpenSlot},
    };

    // Own stored properties, entries 60 and 61 after Window's 60.
    static const PropertyRow properties[] = {
        StoredProperty<double>("z", kStoredWritable, "f8", kZOffset),
        StoredProperty<double>("r", kStoredWritable, "f8", kROffset),
    };
    // clang-format on

    static const ClassSpec spec{.name = kQualifiedName,
                                .superclass = &Window::dunder_Lookup,
                                .methodCount = kMethodCount,
                                .interfaceCount = 0,
                                .eventCount = kEventCount,
                                .propertyCount = kPropertyCount,
                                .instanceDataSize = kInstanceDataSize,
                                .slotCount = kSlotCount,
                                .methods = methods,
                                .handlers = handlers,
                                .properties = properties};
    RuntimeBuildClass(gMainWndCell, spec);
}

ClassRecord* MainWnd::dunder_Lookup() {
    return RuntimeLookupClass(gMainWndCell);
}

Ref<Object> MainWnd() {
    return ImplicitWindow(kQualifiedName, &MainWnd::dunder_Lookup);
}

}  // namespace MainWnd
