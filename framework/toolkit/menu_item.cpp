// MenuItem: one item of a menu tree. Its properties live in its fields, its children and
// its Qt side in a MenuItemState; one item is one QAction, which carries a QMenu while the
// item has children. Because a QAction can stand in any number of menus and menu bars, one
// tree of items serves every window that shows it.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QThread>

#include "framework/toolkit/menu_internal.h"
#include "framework/toolkit/menus.h"
#include "framework/toolkit/picture.h"
#include "framework/toolkit/picture_internal.h"
#include "framework/toolkit/program_code.h"
#include "framework/toolkit/qt_values.h"
#include "framework/toolkit/toolkit_internal.h"

namespace {

ClassCell gMenuItem{nullptr, &MenuItem::dunder_ctblinit};

using namespace menu_field;

// The cache key of the picture that a QAction shows as its icon (0: none).
constexpr const char* kIconKeyProperty = "corvaneIconKey";

// ---- fields -----------------------------------------------------------------------------

// The fields, like the state, are reached through MenuState, which checks the thread.
bool& Flag(Object* item, int32_t offset) {
    MenuState(item);
    return item->Field<bool>(offset);
}
String Text(Object* item, int32_t offset) {
    MenuState(item);
    return props::String::Get(item, offset);
}
void SetText(Object* item, int32_t offset, const String& text) {
    MenuState(item);
    props::String::Set(item, offset, text);
}

[[noreturn]] void RaiseOutOfBounds(const char* what, int64_t index) {
    RuntimeRaiseNew(OutOfBoundsException::dunder_Lookup(),
                    std::string(what) + ": no item at index " + std::to_string(index));
}

// ---- the Qt side ------------------------------------------------------------------------

bool QtReady() {
    return ToolkitHaveWidgetsApplication() && RuntimeIsMainThread();
}

// Qt reads "&" as a mnemonic mark; a caption shows it as written.
QString CaptionText(const String& caption) {
    return ToQString(caption).replace(QLatin1Char('&'), QLatin1String("&&"));
}

QAction::MenuRole RoleOf(Object* item) {
    if (RuntimeObjectIsa(item, QuitMenuItem::dunder_Lookup())) return QAction::QuitRole;
    if (RuntimeObjectIsa(item, AppleMenuItem::dunder_Lookup()))
        return QAction::ApplicationSpecificRole;
    return QAction::NoRole;  // no guessing from the caption
}

ShortcutModifiers ModifiersOf(Object* item) {
    ShortcutModifiers modifiers;
    modifiers.menuModifier = MenuState(item).menuModifier;
    modifiers.alternate = Flag(item, kAlternateMenuModifier);
    modifiers.macOption = Flag(item, kMacOptionKey);
    modifiers.macControl = Flag(item, kMacControlKey);
    modifiers.pcAlt = Flag(item, kPCAltKey);
    return modifiers;
}

// Shows the item's state on its QAction. An item with the empty caption is not shown at
// all, though the object stays visible as far as the program can tell; "-" is a separator.
void Sync(Object* item) {
    MenuItemState& state = MenuState(item);
    QAction* action = state.action;
    if (!action) return;
    String caption = Text(item, kValue);
    bool separator = caption == std::string_view("-");
    action->setSeparator(separator);
    action->setText(separator ? QString() : CaptionText(caption));
    action->setVisible(Flag(item, kVisible) && !caption.Empty());
    action->setEnabled(Flag(item, kEnabled));
    action->setCheckable(Flag(item, kChecked));
    action->setChecked(Flag(item, kChecked));
    action->setShortcut(MenuShortcutSequence(Text(item, kShortcut).View(), ModifiersOf(item)));
    action->setToolTip(ToQString(state.tooltip));
    // QAction::setIcon reports a change even when the icon is the same, and a menu bar told
    // of a change forgets which of its menus is open, so the arrow keys no longer move
    // between its menus: the icon is set only when the picture is another.
    const QImage* icon = ToolkitPictureImage(state.icon.get());
    const qint64 iconKey = icon ? icon->cacheKey() : 0;
    if (action->property(kIconKeyProperty).toLongLong() != iconKey) {
        action->setIcon(icon ? QIcon(QPixmap::fromImage(*icon)) : QIcon());
        action->setProperty(kIconKeyProperty, iconKey);
    }
    action->setMenuRole(RoleOf(item));
    action->setObjectName(ToQString(Text(item, kName)));
    if (state.menu) state.menu->setTitle(action->text());
}

// Puts the children's actions into the item's submenu, in order; an item without children
// has no submenu, so no blank menu shows.
void RebuildMenu(Object* item) {
    MenuItemState& state = MenuState(item);
    if (state.action) {
        if (state.children.empty()) {
            if (state.menu) {
                state.action->setMenu(static_cast<QMenu*>(nullptr));
                delete state.menu.data();
            }
        } else {
            if (!state.menu) {
                state.menu = new QMenu(state.action->text());
                QObject::connect(state.menu, &QMenu::aboutToShow, [self = state.self] {
                    RunProgramCode([self] { MenuAboutToShow(self); });
                });
                state.action->setMenu(state.menu.data());
            }
            for (QAction* shown : state.menu->actions()) state.menu->removeAction(shown);
            for (const Ref<Object>& child : state.children)
                if (QAction* action = MenuItemAction(child.get())) state.menu->addAction(action);
        }
    }
    if (IsMenuBar(item)) MenuBarChildrenChanged(item);
}

void ChildrenChanged(Object* item) {
    RebuildMenu(item);
}

// ---- the tree ---------------------------------------------------------------------------

int64_t IndexOf(Object* parent, Object* item) {
    const auto& children = MenuState(parent).children;
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i].get() == item) return static_cast<int64_t>(i);
    return -1;
}

// Takes `item` out of its parent; the caller holds a reference when it must live on.
void Detach(Object* item) {
    MenuItemState& state = MenuState(item);
    Object* parent = std::exchange(state.parent, nullptr);
    if (!parent) return;
    Ref<Object> keep = Ref<Object>::Retain(item);
    auto& siblings = MenuState(parent).children;
    int64_t index = IndexOf(parent, item);
    if (index >= 0) siblings.erase(siblings.begin() + index);
    ChildrenChanged(parent);
}

void CheckMenuItem(Object* object, const char* what) {
    if (!IsMenuItem(RuntimeRequire(object)))
        RuntimeRaiseNew(
            IllegalCastException::dunder_Lookup(),
            std::string(what) + ": an object of class " + object->cls->name + " is no menu item");
}

void InsertAt(Object* parent, int64_t index, Object* item) {
    CheckMenuItem(parent, "AddMenu");
    CheckMenuItem(item, "AddMenu");
    for (Object* up = parent; up; up = MenuState(up).parent)
        if (up == item)
            RuntimeRaiseNew(UnsupportedOperationException::dunder_Lookup(),
                            "a menu item cannot be put inside itself");
    Ref<Object> keep = Ref<Object>::Retain(item);
    Detach(item);
    auto& children = MenuState(parent).children;
    if (index < 0 || index > static_cast<int64_t>(children.size()))
        RaiseOutOfBounds("Insert", index);
    children.insert(children.begin() + index, keep);
    MenuState(item).parent = parent;
    ChildrenChanged(parent);
}

Ref<Object> FindBelow(Object* item, std::string_view name, bool anyDepth) {
    for (const Ref<Object>& child : MenuState(item).children) {
        if (ToolkitSameObjectName(Text(child.get(), kName).View(), name)) return child;
        if (anyDepth)
            if (Ref<Object> found = FindBelow(child.get(), name, true)) return found;
    }
    return nullptr;
}

void CollectBelow(Object* item, std::vector<Object*>& out) {
    for (const Ref<Object>& child : MenuState(item).children) {
        out.push_back(child.get());
        CollectBelow(child.get(), out);
    }
}

Ref<Object> ArrayOf(const std::vector<Object*>& items) {
    Ref<Object> array = CreateArray(1, -1);
    for (size_t i = 0; i < items.size(); ++i)
        RuntimeArrayInsert(array.get(), static_cast<int64_t>(i), items[i]);
    return array;
}

// ---- __Init and __Exit ------------------------------------------------------------------

void MenuItemInit(Object* item) {
    item->Field<MenuItemState*>(kImp) = new MenuItemState{item};
    item->Field<bool>(kAutoEnabled) = true;
    item->Field<bool>(kEnabled) = true;
    item->Field<bool>(kVisible) = true;
    MenuItemAction(item);  // made at once where Qt runs; later otherwise
}

void MenuItemExit(Object* item) {
    MenuItemState* state = std::exchange(item->Field<MenuItemState*>(kImp), nullptr);
    if (!state) return;
    for (const Ref<Object>& child : state->children)
        if (MenuItemState* childState = child->Field<MenuItemState*>(kImp))
            childState->parent = nullptr;
    std::vector<Ref<Object>> children = std::move(state->children);
    children.clear();  // children go first, so their actions leave this item's menu
    delete state->menu.data();
    if (QAction* action = state->action) {
        // The item may go while its own command runs: leave every menu now, let Qt delete
        // the action once its signal is delivered.
        for (QObject* shownIn : action->associatedObjects())
            if (auto* widget = qobject_cast<QWidget*>(shownIn)) widget->removeAction(action);
        action->disconnect();
        action->deleteLater();
    }
    delete state;
    for (int32_t offset : {kName, kValue, kShortcut}) props::String::Set(item, offset, String());
}

// ---- methods ----------------------------------------------------------------------------

void AddMenuAt(Object* parent, int64_t index, Object* item) {
    InsertAt(parent, index, item);
}

Ref<Object> Clone(Object* item) {
    Ref<Object> copy = RuntimeNewObject(RuntimeRequire(item)->cls);
    RuntimeMenuItemDefaultConstructor(copy.get());
    for (int32_t offset : {kName, kValue, kShortcut})
        SetText(copy.get(), offset, Text(item, offset));
    for (int32_t offset = kAlternateMenuModifier; offset <= kAutoEnabled; ++offset)
        copy->Field<bool>(offset) = item->Field<bool>(offset);
    MenuItemState& from = MenuState(item);
    MenuItemState& to = MenuState(copy.get());
    to.icon = from.icon;
    to.tooltip = from.tooltip;
    to.tag = from.tag;
    to.menuModifier = from.menuModifier;
    Sync(copy.get());
    for (const Ref<Object>& child : from.children) {
        Ref<Object> childCopy = Clone(child.get());
        RuntimeMenuItemAppend(copy.get(), childCopy.get());
    }
    return copy;
}

void Close(Object* item) {
    Detach(RuntimeRequire(item));
}

void ConstructWithCaption(Object* item, String caption) {
    RuntimeMenuItemDefaultConstructor(item);
    RuntimeMenuItemTextSetter(item, kValue, std::move(caption));
}

void ConstructWithCaptionAndTag(Object* item, String caption, Variant tag) {
    ConstructWithCaption(item, std::move(caption));
    MenuState(item).tag = std::move(tag);
}

void Enable(Object* item) {
    RuntimeMenuItemEnabledSetter(item, kEnabled, true);
}

// Handle(0) is the item's QAction, Handle(1) its submenu (nil while it has no children).
void* Handle(Object* item, int64_t type) {
    QAction* action = MenuItemAction(item);
    if (type == 0) return action;
    if (type == 1) return MenuState(item).menu;
    return nullptr;
}

int64_t LastRowIndex(Object* item) {
    return RuntimeMenuItemCount(item) - 1;
}

Ref<Object> ItemForAction(Object* root, QAction* chosen) {
    if (!chosen) return nullptr;
    for (Object* item : MenuItemDescendants(root))
        if (MenuState(item).action == chosen) return Ref<Object>::Retain(item);
    return nullptr;
}

// Shows the item's submenu as a pop-up menu; the chosen item (a new reference), or nil.
Ref<Object> PopUpAt(Object* item, int64_t x, int64_t y) {
    MenuItemAction(item);
    MenuItemState& state = MenuState(item);
    if (!state.menu) return nullptr;
    Ref<Object> keep = Ref<Object>::Retain(item);
    QAction* chosen = state.menu->exec(QPoint(static_cast<int>(x), static_cast<int>(y)));
    return ItemForAction(item, chosen);
}

Ref<Object> PopUp(Object* item) {
    QPoint at = QCursor::pos();
    return PopUpAt(item, at.x(), at.y());
}

void RemoveAt(Object* item, int64_t index) {
    auto& children = MenuState(item).children;
    if (index < 0 || index >= static_cast<int64_t>(children.size()))
        RaiseOutOfBounds("Remove", index);
    Detach(children[static_cast<size_t>(index)].get());
}

void RemoveItem(Object* item, Object* child) {
    Object* parent = MenuState(item).self;
    if (IsMenuItem(RuntimeRequire(child)) && MenuState(child).parent == parent) Detach(child);
}

void RemoveNamed(Object* item, String name) {
    if (Ref<Object> child = FindBelow(RuntimeRequire(item), name.View(), false))
        Detach(child.get());
}

Ref<Object> DependencyList(Object* item) {
    std::vector<Object*> children;
    for (const Ref<Object>& child : MenuState(item).children) children.push_back(child.get());
    return ArrayOf(children);
}

// Greys the item and everything below it for good: auto-enabling no longer touches them.
void DisableEntirely(Object* item) {
    std::vector<Object*> items = MenuItemDescendants(item);
    items.insert(items.begin(), item);
    for (Object* each : items) {
        each->Field<bool>(kAutoEnabled) = false;
        MenuItemApplyEnabled(each, false);
    }
}

Ref<Object> LookupByHandle(Object* item, void* handle) {
    if (!handle) return nullptr;
    for (Object* each : MenuItemDescendants(RuntimeRequire(item))) {
        MenuItemState& state = MenuState(each);
        if (state.action == handle || state.menu == handle) return Ref<Object>::Retain(each);
    }
    return nullptr;
}

// Enables or greys the item as auto-enabling would, for the window that gets commands now.
void SelfEnable(Object* item) {
    if (Flag(item, kAutoEnabled))
        MenuItemApplyEnabled(item, MenuItemWouldAct(item, ToolkitMenuCommandWindow()));
}

// Exchanges the places of two items, in one menu or in two.
void Swap(Object* item, Object* other) {
    CheckMenuItem(item, "_Swap");
    CheckMenuItem(other, "_Swap");
    Object* parentA = MenuState(item).parent;
    Object* parentB = MenuState(other).parent;
    if (!parentA || !parentB)
        RuntimeRaiseNew(UnsupportedOperationException::dunder_Lookup(),
                        "_Swap: both items must be in a menu");
    if (item == other) return;
    int64_t a = IndexOf(parentA, item);
    int64_t b = IndexOf(parentB, other);
    std::swap(MenuState(parentA).children[static_cast<size_t>(a)],
              MenuState(parentB).children[static_cast<size_t>(b)]);
    MenuState(item).parent = parentB;
    MenuState(other).parent = parentA;
    ChildrenChanged(parentA);
    if (parentB != parentA) ChildrenChanged(parentB);
}

// ---- properties besides those of menus.h ------------------------------------------------

template <int32_t Offset>
bool FlagGetter(Object* item, int32_t) {
    return Flag(item, Offset);
}
// The setters of fields the item's QAction shows: the action follows.
template <int32_t Offset>
void FlagSetter(Object* item, int32_t, bool on) {
    Flag(item, Offset) = on;
    Sync(item);
}
template <int32_t Offset>
void TextSetter(Object* item, int32_t, String text) {
    SetText(item, Offset, text);
    Sync(item);
}

Ref<Object> IconGetter(Object* item, int32_t) {
    return MenuState(item).icon;
}
void IconSetter(Object* item, int32_t, Object* picture) {
    if (picture) RuntimeCheckCast(picture, Picture::dunder_Lookup());
    MenuState(item).icon = Ref<Object>::Retain(picture);
    Sync(item);
}

int64_t IndexGetter(Object* item, int32_t) {
    Object* parent = MenuState(item).parent;
    return parent ? IndexOf(parent, item) : -1;
}

bool MenuModifierGetter(Object* item, int32_t) {
    return MenuState(item).menuModifier;
}
void MenuModifierSetter(Object* item, int32_t, bool on) {
    MenuState(item).menuModifier = on;
    Sync(item);
}

Ref<Object> ParentGetter(Object* item, int32_t) {
    return Ref<Object>::Retain(MenuState(item).parent);
}

Variant TagGetter(Object* item, int32_t) {
    return MenuState(item).tag;
}
void TagSetter(Object* item, int32_t, Variant tag) {
    MenuState(item).tag = std::move(tag);
}

String TooltipGetter(Object* item, int32_t) {
    return MenuState(item).tooltip;
}
void TooltipSetter(Object* item, int32_t, String text) {
    MenuState(item).tooltip = std::move(text);
    Sync(item);
}

// A stored Boolean whose setter shows the change.
template <int32_t Offset>
PropertyRow FlagProperty(const char* name) {
    return StoredProperty<bool>(name, kStoredWritable, "b", Offset, &FlagGetter<Offset>,
                                &FlagSetter<Offset>);
}

}  // namespace

// ---- shared with the other menu files ---------------------------------------------------

bool IsMenuItem(Object* object) {
    return RuntimeObjectIsa(object, MenuItem::dunder_Lookup());
}
bool IsMenuBar(Object* object) {
    return RuntimeObjectIsa(object, MenuBar::dunder_Lookup());
}

// Every operation on an item reaches its fields and state through here, so the user-
// interface thread is checked here, once for all of them.
MenuItemState& MenuState(Object* item) {
    under_UITrap();
    MenuItemState* state = RuntimeRequire(item)->Field<MenuItemState*>(kImp);
    if (!state || !IsMenuItem(item))
        RuntimeRaiseNew(IllegalCastException::dunder_Lookup(),
                        std::string("an object of class ") + item->cls->name + " is no menu item");
    return *state;
}

QAction* MenuItemAction(Object* item) {
    MenuItemState& state = MenuState(item);
    if (state.action || !QtReady()) return state.action;
    state.action = new QAction(QCoreApplication::instance());
    QObject::connect(state.action, &QAction::triggered,
                     [self = item] { RunProgramCode([self] { MenuItemCommand(self); }); });
    Sync(item);
    RebuildMenu(item);
    return state.action;
}

Object* MenuItemRoot(Object* item) {
    Object* root = RuntimeRequire(item);
    while (Object* parent = MenuState(root).parent) root = parent;
    return root;
}

std::vector<Object*> MenuItemDescendants(Object* item) {
    std::vector<Object*> items;
    CollectBelow(item, items);
    return items;
}

String MenuItemName(Object* item) {
    return Text(item, kName);
}

void MenuItemApplyEnabled(Object* item, bool enabled) {
    Flag(item, kEnabled) = enabled;
    Sync(item);
}

// ---- the imports of menus.h -------------------------------------------------------------

void RuntimeMenuItemDefaultConstructor(Object* item) {
    MenuState(item);
}

void RuntimeMenuItemNameSetter(Object* item, int32_t offset, String name) {
    TextSetter<kName>(item, offset, std::move(name));
}
String RuntimeMenuItemNameGetter(Object* item, int32_t) {
    return Text(item, kName);
}

void RuntimeMenuItemAutoEnableSetter(Object* item, int32_t, bool on) {
    Flag(item, kAutoEnabled) = on;
}
bool RuntimeMenuItemAutoEnableGetter(Object* item, int32_t) {
    return Flag(item, kAutoEnabled);
}

void RuntimeMenuItemTextSetter(Object* item, int32_t offset, String caption) {
    TextSetter<kValue>(item, offset, std::move(caption));
}
String RuntimeMenuItemTextGetter(Object* item, int32_t) {
    return Text(item, kValue);
}

void RuntimeMenuItemVisibleSetter(Object* item, int32_t offset, bool visible) {
    FlagSetter<kVisible>(item, offset, visible);
}
bool RuntimeMenuItemVisibleGetter(Object* item, int32_t) {
    return Flag(item, kVisible);
}

void RuntimeMenuItemCommandKeySetter(Object* item, int32_t offset, String shortcut) {
    TextSetter<kShortcut>(item, offset, std::move(shortcut));
}
String RuntimeMenuItemCommandKeyGetter(Object* item, int32_t) {
    return Text(item, kShortcut);
}

void RuntimeMenuItemEnabledSetter(Object* item, int32_t, bool enabled) {
    MenuItemApplyEnabled(item, enabled);
}
bool RuntimeMenuItemEnabledGetter(Object* item, int32_t) {
    return Flag(item, kEnabled);
}

void RuntimeMenuItemAppend(Object* parent, Object* item) {
    InsertAt(parent, RuntimeMenuItemCount(parent), item);
}

Ref<Object> RuntimeMenuItemChild(Object* parent, String name) {
    return FindBelow(RuntimeRequire(parent), name.View(), false);
}

Ref<Object> RuntimeMenuItemLookup(Object* item, String name) {
    return FindBelow(RuntimeRequire(item), name.View(), true);
}

int64_t RuntimeMenuItemCount(Object* item) {
    return static_cast<int64_t>(MenuState(item).children.size());
}

Ref<Object> RuntimeMenuItemAt(Object* item, int64_t index) {
    const auto& children = MenuState(item).children;
    if (index < 0 || index >= static_cast<int64_t>(children.size()))
        RaiseOutOfBounds("Item", index);
    return children[static_cast<size_t>(index)];
}

// ---- the class record -------------------------------------------------------------------

namespace {


}  // namespace

void MenuItem::dunder_ctblinit() {
    // clang-format off
    // Method entries, in the record's order: name, flags, signature text, function, slot.
    static const MethodRow MenuItem_methods[] = {
        Method("AddMenu",          kPublicVirtual,        "%%o<MenuItem>",             &RuntimeMenuItemAppend,             0),
        Method("AddMenuAt",        kPublicVirtual,        "%%i8o<MenuItem>",           &AddMenuAt,                         1),
        Method("Append",           kPublicVirtual,        "%%o<MenuItem>",             &RuntimeMenuItemAppend,             2),
        Method("Child",            kPublicVirtual,        "%o<MenuItem>%s",            &RuntimeMenuItemChild,              3),
        Method("Clone",            kPublicVirtual,        "%o<MenuItem>%",             &Clone,                             4),
        Method("Close",            kPublicVirtual,        "%%",                        &Close,                             5),
        Method("Constructor",      kPublicVirtual,        "%%",                        &RuntimeMenuItemDefaultConstructor, 6),
        Method("Constructor",      kPublicVirtual,        "%%s",                       &ConstructWithCaption,              7),
        Method("Constructor",      kPublicVirtual,        "%%sv",                      &ConstructWithCaptionAndTag,        8),
        Method("Count",            kPublicVirtual,        "%i8%",                      &RuntimeMenuItemCount,              9),
        Method("Enable",           kPublicVirtual,        "%%",                        &Enable,                            10),
        Method("Handle",           kPublicVirtual,        "%p%i8<MenuItem.HandleType>", &Handle,                           11),
        Method("Insert",           kPublicVirtual,        "%%i8o<MenuItem>",           &AddMenuAt,                         12),
        Method("Item",             kPublicVirtual,        "%o<MenuItem>%i8",           &RuntimeMenuItemAt,                 13),
        Method("LastRowIndex",     kPublicVirtual,        "%i8%",                      &LastRowIndex,                      14),
        Method("MenuAt",           kPublicVirtual,        "%o<MenuItem>%i8",           &RuntimeMenuItemAt,                 15),
        Method("MenuItem",         kClassNamedCtorHidden, "%%s",                       &ConstructWithCaption,              16),
        Method("MenuItem",         kClassNamedCtorHidden, "%%sv",                      &ConstructWithCaptionAndTag,        17),
        Method("PopUp",            kPublicVirtual,        "%o<MenuItem>%",             &PopUp,                             18),
        Method("PopUp",            kPublicVirtual,        "%o<MenuItem>%i8i8",         &PopUpAt,                           19),
        Method("Remove",           kPublicVirtual,        "%%i8",                      &RemoveAt,                          20),
        Method("Remove",           kPublicVirtual,        "%%o<MenuItem>",             &RemoveItem,                        21),
        Method("Remove",           kPublicVirtual,        "%%s",                       &RemoveNamed,                       22),
        Method("RemoveMenuAt",     kPublicVirtual,        "%%i8",                      &RemoveAt,                          23),
        Method("_DependencyList",  kPublicVirtualHidden,  "%A1o<Object>%",             &DependencyList,                    24),
        Method("_DisableEntirely", kPublicVirtualHidden,  "%%",                        &DisableEntirely,                   25),
        Method("_Lookup",          kPublicVirtualHidden,  "%o<MenuItem>%s",            &RuntimeMenuItemLookup,             26),
        Method("_Lookup",          kPublicVirtualHidden,  "%o<MenuItem>%p",            &LookupByHandle,                    27),
        Method("_SelfEnable",      kPublicVirtualHidden,  "%%",                        &SelfEnable,                        28),
        Method("_Swap",            kPublicVirtualHidden,  "%%o<MenuItem>",             &Swap,                              29),
        Method("__Exit",           kPrivateHidden,        "%%",                        &MenuItemExit),
        Method("__Init",           kPrivateHidden,        "%%",                        &MenuItemInit),
    };
    // clang-format on
    // Events: Action bool(item), EnableMenu void(item).
    static const EventRow MenuItem_events[] = {{"Action"}, {"EnableMenu"}};
    // clang-format off
    // Properties: name, flags, type, field offset (0 when computed), getter, setter.
    static const PropertyRow MenuItem_properties[] = {
        FlagProperty<kAlternateMenuModifier>("AlternateMenuModifier"),
        StoredProperty<bool>("AutoEnabled", kStoredWritable, "b", kAutoEnabled, &RuntimeMenuItemAutoEnableGetter, &RuntimeMenuItemAutoEnableSetter),
        FlagProperty<kChecked>("Checked"),
        StoredProperty<bool>("Enabled", kStoredWritable, "b", kEnabled, &RuntimeMenuItemEnabledGetter, &RuntimeMenuItemEnabledSetter),
        ComputedProperty<Ref<Object>>("Icon", kComputedWritable, "o<Picture>", &IconGetter, &IconSetter),
        ComputedProperty<int64_t>("Index", kComputedReadOnly, "i8", &IndexGetter, nullptr),
        ComputedProperty<String>("KeyboardShortcut", kComputedWritable, "s", &RuntimeMenuItemCommandKeyGetter, &RuntimeMenuItemCommandKeySetter),
        FlagProperty<kMacControlKey>("MacControlKey"),
        FlagProperty<kMacOptionKey>("MacOptionKey"),
        ComputedProperty<bool>("MenuModifier", kComputedWritable, "b", &MenuModifierGetter, &MenuModifierSetter),
        StoredProperty<String>("Name", kStoredWritable, "s", kName, &RuntimeMenuItemNameGetter, &RuntimeMenuItemNameSetter),
        FlagProperty<kPCAltKey>("PCAltKey"),
        ComputedProperty<Ref<Object>>("Parent", kComputedReadOnly, "o<MenuItem>", &ParentGetter, nullptr),
        StoredProperty<String>("Shortcut", kStoredWritable, "s", kShortcut, &RuntimeMenuItemCommandKeyGetter, &RuntimeMenuItemCommandKeySetter),
        ComputedProperty<Variant>("Tag", kComputedWritable, "v", &TagGetter, &TagSetter),
        ComputedProperty<String>("Text", kComputedWritable, "s", &RuntimeMenuItemTextGetter, &RuntimeMenuItemTextSetter),
        ComputedProperty<String>("Tooltip", kComputedWritable, "s", &TooltipGetter, &TooltipSetter),
        StoredProperty<String>("Value", kStoredWritable, "s", kValue, &RuntimeMenuItemTextGetter, &RuntimeMenuItemTextSetter),
        StoredProperty<bool>("Visible", kStoredWritable, "b", kVisible, &RuntimeMenuItemVisibleGetter, &RuntimeMenuItemVisibleSetter),
        ReadOnlyStoredProperty<void*>("_mImp", kPrivateHidden, "p", kImp),
    };
    // clang-format on
    static const ClassSpec spec{.name = "MenuItem",
                                .superclass = nullptr,
                                .methodCount = 32,
                                .interfaceCount = 0,
                                .eventCount = 2,
                                .propertyCount = 20,
                                .instanceDataSize = kItemSize,
                                .slotCount = 30,
                                .init = &MenuItemInit,
                                .exit = &MenuItemExit,
                                .methods = MenuItem_methods,
                                .events = MenuItem_events,
                                .properties = MenuItem_properties};
    RuntimeBuildClass(gMenuItem, spec);
}

ClassRecord* MenuItem::dunder_Lookup() {
    return RuntimeLookupClass(gMenuItem);
}
