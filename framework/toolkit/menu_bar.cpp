// MenuBar: the top of a menu tree. Its top-level items' QActions go into every QMenuBar that
// installs it, so the application and each window show the one bar object; a window without
// a bar of its own holds the application's bar's actions unseen, so that its key equivalents
// choose their items there too, as they do in a window that shows the bar. Before a menu
// opens, and before a key equivalent is looked up, the items are enabled for the window
// that will get the command.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <algorithm>

#include "framework/toolkit/application_filter.h"
#include "framework/toolkit/menu_internal.h"
#include "framework/toolkit/menus.h"
#include "framework/toolkit/program_code.h"
#include "framework/toolkit/toolkit_internal.h"

namespace {

ClassCell gMenuBar{nullptr, &MenuBar::dunder_ctblinit};

// Marks a host (a QMenuBar, or a window's widget) with the bar object it holds, so that a bar
// refreshes only the hosts that still hold it.
constexpr const char* kShownBarProperty = "corvaneMenuBar";

struct MenuBarState {
    std::vector<QPointer<QWidget>> installed;  // the hosts that hold this bar's actions
};

MenuBarState* BarState(Object* bar) {
    return IsMenuBar(bar) ? bar->Field<MenuBarState*>(menu_field::kBarState) : nullptr;
}

// The bar objects installed anywhere, for the key-equivalent refresh.
std::vector<Object*>& InstalledBars() {
    static auto* bars = new std::vector<Object*>();
    return *bars;
}

bool ShowsBar(QWidget* host, Object* bar) {
    return host->property(kShownBarProperty).value<void*>() == static_cast<void*>(bar);
}

void FillHost(QWidget* host, Object* bar) {
    for (QAction* shown : host->actions()) host->removeAction(shown);
    if (!bar) return;
    std::vector<Ref<Object>> top = MenuState(bar).children;
    for (const Ref<Object>& item : top)
        if (QAction* action = MenuItemAction(item.get())) host->addAction(action);
}

// Enables the items of every installed bar before Qt decides whether a key equivalent is
// taken: a greyed QAction's shortcut does nothing, and no menu opens to refresh it first.
class KeyEquivalentRefresh : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride && !InstalledBars().empty()) {
            auto* key = static_cast<QKeyEvent*>(event);
            constexpr Qt::KeyboardModifiers kMenuKeys =
                Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
            if ((key->modifiers() & kMenuKeys) && !refreshing_) {
                refreshing_ = true;
                RunProgramCode([] {
                    Object* window = ToolkitMenuCommandWindow();
                    std::vector<Object*> bars = InstalledBars();
                    for (Object* bar : bars) ToolkitAutoEnableMenus(bar, window);
                    if (window) ToolkitRaiseEnableMenuItems(window);
                });
                refreshing_ = false;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool refreshing_ = false;
};

void WatchKeyEquivalents() {
    ToolkitFilterApplicationEvents<KeyEquivalentRefresh>();
}

// ---- MenuBar's own methods --------------------------------------------------------------

void MenuBarInit(Object* bar) {
    bar->Field<MenuBarState*>(menu_field::kBarState) = new MenuBarState();
}

void MenuBarExit(Object* bar) {
    MenuBarForget(bar);
    delete std::exchange(bar->Field<MenuBarState*>(menu_field::kBarState), nullptr);
}

// The bar depends on every item of its tree.
Ref<Object> BarDependencyList(Object* bar) {
    std::vector<Object*> items = MenuItemDescendants(RuntimeRequire(bar));
    Ref<Object> array = CreateArray(1, -1);
    for (size_t i = 0; i < items.size(); ++i)
        RuntimeArrayInsert(array.get(), static_cast<int64_t>(i), items[i]);
    return array;
}

// Shows the bar in the QMenuBar passed as a handle.
void InstallClone(Object* bar, void* qtMenuBar) {
    auto* qbar = static_cast<QMenuBar*>(qtMenuBar);
    if (!qbar) RaiseNilObjectException();
    ToolkitInstallMenuBar(qbar, RuntimeRequire(bar));
}

}  // namespace

void MenuBarChildrenChanged(Object* bar) {
    MenuBarState* state = BarState(bar);
    if (!state) return;
    auto& installed = state->installed;
    installed.erase(std::remove_if(installed.begin(), installed.end(),
                                   [&](const QPointer<QWidget>& host) {
                                       return !host || !ShowsBar(host, bar);
                                   }),
                    installed.end());
    for (const QPointer<QWidget>& host : installed) FillHost(host, bar);
}

void MenuBarForget(Object* bar) {
    auto& bars = InstalledBars();
    bars.erase(std::remove(bars.begin(), bars.end(), bar), bars.end());
}

void MenuAboutToShow(Object* item) {
    Ref<Object> keep = Ref<Object>::Retain(item);
    Object* window = ToolkitMenuCommandWindow();
    Ref<Object> keepWindow = Ref<Object>::Retain(window);
    ToolkitAutoEnableMenus(MenuItemRoot(item), window);
    std::vector<Ref<Object>> shown = MenuState(item).children;
    for (const Ref<Object>& child : shown) SendObjectEvent(child.get(), MenuItem::kEnableMenuEvent);
    if (window) ToolkitRaiseEnableMenuItems(window);
}

void ToolkitInstallMenuBar(QWidget* host, Object* menuBar) {
    if (!host) return;
    under_UITrap();
    if (menuBar && !IsMenuItem(menuBar))
        RuntimeRaiseNew(
            IllegalCastException::dunder_Lookup(),
            std::string("an object of class ") + menuBar->cls->name + " is no menu bar");
    host->setProperty(kShownBarProperty, QVariant::fromValue<void*>(menuBar));
    FillHost(host, menuBar);
    if (MenuBarState* state = BarState(menuBar)) {
        if (std::find(state->installed.begin(), state->installed.end(), host) ==
            state->installed.end())
            state->installed.emplace_back(host);
        auto& bars = InstalledBars();
        if (std::find(bars.begin(), bars.end(), menuBar) == bars.end()) bars.push_back(menuBar);
        WatchKeyEquivalents();
        MenuCommandsFollowFocus();
    }
}

void ToolkitAutoEnableMenus(Object* menuBar, Object* window) {
    if (!menuBar) return;
    for (Object* item : MenuItemDescendants(menuBar))
        if (RuntimeMenuItemAutoEnableGetter(item, menu_field::kAutoEnabled))
            MenuItemApplyEnabled(item, MenuItemWouldAct(item, window));
}

void MenuBar::dunder_ctblinit() {
    // clang-format off
    // Own rows: the override of _DependencyList (slot 24), then _InstallClone and __Init.
    static const MethodRow MenuBar_methods[] = {
        Method("_DependencyList", kPublicVirtualHidden, "%A1o<Object>%", &BarDependencyList, 24),
        Method("_InstallClone",   kPublicVirtualHidden, "%%p",           &InstallClone,      30),
        Method("__Init",          kPrivateHidden,       "%%",            &MenuBarInit),
    };
    // clang-format on
    static const ClassSpec spec{.name = "MenuBar",
                                .superclass = &MenuItem::dunder_Lookup,
                                .methodCount = kMethodCount,
                                .interfaceCount = 0,
                                .eventCount = 2,
                                .propertyCount = 20,
                                .instanceDataSize = menu_field::kBarSize,
                                .slotCount = kSlotCount,
                                .init = &MenuBarInit,
                                .exit = &MenuBarExit,
                                .methods = MenuBar_methods};
    RuntimeBuildClass(gMenuBar, spec);
}

ClassRecord* MenuBar::dunder_Lookup() {
    return RuntimeLookupClass(gMenuBar);
}
