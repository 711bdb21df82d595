// Class MainWnd.MainWnd: its record as tables, its lookup and its implicit-instance accessor.
#include "conversion/main_wnd.h"

#include "shell/window_design/accessors.h"

namespace MainWnd {
namespace {

using W = struct MainWnd;

ClassCell gMainWndCell{nullptr, &MainWnd::dunder_ctblinit};  // MainWnd.MainWnd.__ctbl

}  // namespace

void MainWnd::dunder_ctblinit() {
    // Own method entries, after Window's 41 re-stated ones: the virtual methods in slot
    // order, then IsEventImplemented without a slot.
    // clang-format off
    static const MethodRow methods[] = {
        //     name                     flags                 signature               function                   slot
        //     (accessor rows: the form, the name looked up and the class checked; signature, slot)
        Method("Layout",                kPublicVirtual,       "%%",                   &W::Layout,                kLayoutSlot),
        Method("CreateControls",        kPublicVirtual,       "%%",                   &W::CreateControls,        kCreateControlsSlot),
        Method("_CreateControls0",      kPublicVirtualHidden, "%%",                   &W::under_CreateControls0, kCreateControls0Slot),
        AccessorRow<ControlByName, "rEdit", TextField>(             "%o<TextField>%",     kREditSlot),
        AccessorRow<ControlByName, "Canvas2", Canvas>(              "%o<Canvas>%",        kCanvas2Slot),
        AccessorRow<ControlByName, "StaticText1", Label>(           "%o<Label>%",         kStaticText1Slot),
        AccessorRow<ControlByName, "CalcBtn", PushButton>(          "%o<PushButton>%",    kCalcBtnSlot),
        AccessorRow<ControlByName, "ClearBtn", PushButton>(         "%o<PushButton>%",    kClearBtnSlot),
        AccessorRow<ControlByName, "zEdit", TextField>(             "%o<TextField>%",     kZEditSlot),
        AccessorRow<ControlByName, "Label1", Label>(                "%o<Label>%",         kLabel1Slot),
        AccessorRow<ControlByName, "Label2", Label>(                "%o<Label>%",         kLabel2Slot),
        AccessorRow<ControlByName, "Canvas1", Canvas>(              "%o<Canvas>%",        kCanvas1Slot),
        AccessorRow<ControlByName, "describeTxt", TextArea>(        "%o<TextArea>%",      kDescribeTxtSlot),
        AccessorRow<ControlByName, "qBtn", PushButton>(             "%o<PushButton>%",    kQBtnSlot),
        Method("rEdit_KeyDown",         kPublicVirtual,       "%b%o<TextField>s",     &W::rEdit_KeyDown,         kREditKeyDownSlot),
        Method("CalcBtn_Action",        kPublicVirtual,       "%%o<PushButton>",      &W::CalcBtn_Action,        kCalcBtnActionSlot),
        Method("ClearBtn_Action",       kPublicVirtual,       "%%o<PushButton>",      &W::ClearBtn_Action,       kClearBtnActionSlot),
        Method("zEdit_KeyDown",         kPublicVirtual,       "%b%o<TextField>s",     &W::zEdit_KeyDown,         kZEditKeyDownSlot),
        Method("qBtn_Action",           kPublicVirtual,       "%%o<PushButton>",      &W::qBtn_Action,           kQBtnActionSlot),
        Method("qBtn_MouseDown",        kPublicVirtual,       "%b%o<PushButton>i8i8", &W::qBtn_MouseDown,        kQBtnMouseDownSlot),
        AccessorRow<MenuItemByName, "UntitledMenu3", MenuItem>(     "%o<MenuItem>%",      kUntitledMenu3Slot),
        AccessorRow<MenuItemByName, "UntitledMenu0", MenuItem>(     "%o<MenuItem>%",      kUntitledMenu0Slot),
        AccessorRow<MenuItemByName, "UntitledMenu4", AppleMenuItem>("%o<AppleMenuItem>%", kUntitledMenu4Slot),
        AccessorRow<MenuItemByName, "About", AppleMenuItem>(        "%o<AppleMenuItem>%", kAboutSlot),
        AccessorRow<MenuItemByName, "UntitledMenu5", MenuItem>(     "%o<MenuItem>%",      kUntitledMenu5Slot),
        AccessorRow<MenuItemByName, "EditClear", MenuItem>(         "%o<MenuItem>%",      kEditClearSlot),
        AccessorRow<MenuItemByName, "EditPaste", MenuItem>(         "%o<MenuItem>%",      kEditPasteSlot),
        AccessorRow<MenuItemByName, "EditCopy", MenuItem>(          "%o<MenuItem>%",      kEditCopySlot),
        AccessorRow<MenuItemByName, "EditCut", MenuItem>(           "%o<MenuItem>%",      kEditCutSlot),
        AccessorRow<MenuItemByName, "UntitledMenu1", MenuItem>(     "%o<MenuItem>%",      kUntitledMenu1Slot),
        AccessorRow<MenuItemByName, "EditUndo", MenuItem>(          "%o<MenuItem>%",      kEditUndoSlot),
        AccessorRow<MenuItemByName, "UntitledMenu2", MenuItem>(     "%o<MenuItem>%",      kUntitledMenu2Slot),
        AccessorRow<MenuItemByName, "UntitledMenu6", MenuItem>(     "%o<MenuItem>%",      kUntitledMenu6Slot),
        AccessorRow<MenuItemByName, "FileQuit", QuitMenuItem>(      "%o<QuitMenuItem>%",  kFileQuitSlot),
        AccessorRow<MenuItemByName, "Apple", MenuItem>(             "%o<MenuItem>%",      kAppleSlot),
        Method("AddMenuHandlers",       kPublicVirtual,       "%%o<Window>",          &W::AddMenuHandlers,       kAddMenuHandlersSlot),
        Method("Event_Close",           kPublicVirtual,       "%%",                   &W::Event_Close,           kEventCloseSlot),
        Method("Event_Activate",        kPublicVirtual,       "%%",                   &W::Event_Activate,        kEventActivateSlot),
        Method("Event_MouseUp",         kPublicVirtual,       "%%i8i8",               &W::Event_MouseUp,         kEventMouseUpSlot),
        Method("Event_MouseDown",       kPublicVirtual,       "%b%i8i8",              &W::Event_MouseDown,       kEventMouseDownSlot),
        Method("Event_Open",            kPublicVirtual,       "%%",                   &W::Event_Open,            kEventOpenSlot),
        Method("Event_EnableMenuItems", kPublicVirtual,       "%%",                   &W::Event_EnableMenuItems, kEventEnableMenuItemsSlot),
        Method("_About_Action",         kPublicVirtual,       "%b%",                  &W::under_About_Action,    kAboutActionSlot),
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

    static const ClassSpec spec{.name = W::kQualifiedName,
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
    return ImplicitWindow(W::kQualifiedName, &W::dunder_Lookup);
}

}  // namespace MainWnd
