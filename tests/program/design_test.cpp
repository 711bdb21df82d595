// The windows as the program designs them, against the tables in tests/data: every design
// record decoded entry by entry, the controls each window holds and the accessors that reach
// them, the control events bound to window methods, and the menu bar's items.
#include <cmath>
#include <iomanip>
#include <sstream>

#include "conversion/main_wnd_design.h"
#include "conversion_fixture.h"
#include "data_table.h"
#include "shell/menu.h"
#include "splash/splash_wnd.h"

namespace conversion_test {
namespace {

using namespace data_table;

// ---- reading a record by the types the table gives --------------------------------------

uint64_t LittleEndian(std::string_view bytes, size_t at, size_t width) {
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes.at(at + i));
    return value;
}

std::string Shown(double number) {
    std::ostringstream out;
    out << number;
    return out.str();
}

// The value of type `type` at `offset`, written as the table writes it; advances past it.
std::string Decode(std::string_view record, size_t& offset, const std::string& type) {
    const size_t at = offset;
    auto take = [&](size_t width) { return LittleEndian(record, at, width), offset += width; };
    if (type.starts_with("i8"))
        return take(8), std::to_string(int64_t(LittleEndian(record, at, 8)));
    if (type.starts_with("u1")) return take(1), std::to_string(LittleEndian(record, at, 1));
    if (type == "b")
        return take(1), record.at(at) == 1 ? "True" : record.at(at) == 0 ? "False" : "?";
    if (type == "f4")
        return take(4), Shown(std::bit_cast<float>(uint32_t(LittleEndian(record, at, 4))));
    if (type == "f8") return take(8), Shown(std::bit_cast<double>(LittleEndian(record, at, 8)));
    if (type == "c") {
        std::ostringstream bytes;
        for (size_t i = 0; i < 4; ++i)
            bytes << (i ? " " : "") << std::hex << std::uppercase << std::setw(2)
                  << std::setfill('0') << int(uint8_t(record.at(at + i)));
        return take(4), bytes.str();
    }
    const size_t length = LittleEndian(record, at, 4);  // "s"
    offset += 4 + length;
    return std::string(record.substr(at + 4, length));
}

String RecordOf(const Row& row) {
    const bool main = row.at("window") == "MainWnd.MainWnd";
    if (!Given(row.at("object"))) return main ? MainWnd::WindowRecord() : SplashWnd::WindowRecord();
    for (const auto& design : main ? MainWnd::ControlDesigns() : SplashWnd::ControlDesigns())
        if (design.name == row.at("object")) return design.record;
    return String();
}

// The controls of `window` in the order they were added (Window's method Control, slot 8).
std::vector<Ref<Object>> ControlsOf(Object* window) {
    std::vector<Ref<Object>> controls;
    while (Ref<Object> control = RuntimeCallSlot<Ref<Object>, int64_t>(window, 8, controls.size()))
        controls.push_back(control);
    return controls;
}

Ref<Object> CallMethod(Object* object, const std::string& name) {
    const MethodEntry* method = RuntimeFindMethod(object->cls, name);
    EXPECT_NE(method, nullptr) << name;
    return method ? RuntimeCallSlot<Ref<Object>>(object, method->slot) : nullptr;
}

// Both windows open, held by the framework alone.
class Design : public testing::Test {
  protected:
    void SetUp() override { MainWnd::MainWnd(); }  // its Open brings the splash window up
    void TearDown() override { CloseBothWindows(); }
    static Object* window() { return RuntimeGetImplicitWindow(String("MainWnd.MainWnd")).get(); }
};

TEST_F(Design, EachRecordHoldsItsEntriesInOrderAndConfiguresItsObject) {
    const Tables tables = Read("design_records.txt");
    std::map<std::string, std::vector<std::string>> created;  // control names by window
    for (const Row& row : Section(tables, "records")) {
        const std::string name =
            row.at("window") + (Given(row.at("object")) ? " " + row.at("object") : "");
        SCOPED_TRACE(name);
        const std::string record(RecordOf(row).View());
        const std::vector<Row>& entries = Section(tables, name);
        EXPECT_EQ(entries.size(), std::stoul(row.at("entries")));
        EXPECT_EQ(record.size(), std::stoul(row.at("bytes")));
        Ref<Object> window = RuntimeGetImplicitWindow(String(row.at("window")));
        ASSERT_TRUE(window);
        Ref<Object> object =
            Given(row.at("object")) ? ControlOf(window.get(), row.at("object").c_str()) : window;
        ASSERT_TRUE(object);
        EXPECT_STREQ(object->cls->name, row.at("class").c_str());
        if (object != window) {
            EXPECT_EQ(CallMethod(window.get(), row.at("object")), object) << "its accessor";
            created[row.at("window")].push_back(row.at("object"));
        }
        EXPECT_TRUE(row.at("class") != "Canvas" || canvasBackdropGetter(object.get(), 0))
            << "a canvas shows its picture";
        size_t offset = 0;
        for (const Row& entry : entries) {
            const std::string key = entry.at("key"), type = entry.at("type");
            ASSERT_EQ(record.substr(offset, key.size() + 1), key + " ") << "at offset " << offset;
            offset += key.size() + 1;
            const std::string value = Text(entry.at("value"));
            const bool number = type == "f4" || type == "f8";
            EXPECT_EQ(Decode(record, offset, type), number ? Shown(std::stod(value)) : value)
                << key;
            const PropertyEntry* property = RuntimeFindProperty(object->cls, key);
            ASSERT_NE(property, nullptr) << key;
            EXPECT_EQ(property->typeText, type) << key;
        }
        EXPECT_EQ(offset, record.size()) << "nothing after the last entry";
    }
    for (const auto& [name, controls] : created) {
        Ref<Object> window = RuntimeGetImplicitWindow(String(name));
        const std::vector<Ref<Object>> held = ControlsOf(window.get());
        ASSERT_EQ(held.size(), controls.size()) << name;
        for (size_t i = 0; i < held.size(); ++i)
            EXPECT_EQ(held[i], ControlOf(window.get(), controls[i].c_str())) << "in creation order";
    }
}

TEST_F(Design, ControlEventsAreBoundToTheirWindowsMethodsHoldingTheWindowWeakly) {
    const std::vector<Row> rows = Section(Read("bindings.txt"), "bindings");
    std::vector<std::pair<Ref<Object>, bool>> delegates;  // each with whether it holds weakly
    size_t found = 0;
    for (const char* name : {"MainWnd.MainWnd", "SplashWnd.SplashWnd"}) {
        Ref<Object> window = RuntimeGetImplicitWindow(String(name));
        ASSERT_TRUE(window) << name;
        for (const Ref<Object>& control : ControlsOf(window.get())) {
            for (uint32_t event = 0; event < control->cls->eventCount; ++event) {
                const EventBinding* binding = RuntimeFindEventHandler(control.get(), event);
                const Row* expected = nullptr;
                for (const Row& row : rows)
                    if (row.at("window") == name && std::stoul(row.at("event")) == event &&
                        ControlOf(window.get(), row.at("control").c_str()) == control)
                        expected = &row;
                EXPECT_EQ(binding != nullptr, expected != nullptr) << control->cls->name << event;
                if (!binding || !expected) continue;
                ++found;
                Object* delegate = binding->delegate.get();
                const MethodEntry* method = RuntimeFindMethod(window->cls, expected->at("method"));
                ASSERT_NE(method, nullptr);
                EXPECT_EQ(RuntimeDelegateFunction(delegate), window->vtable[method->slot]);
                EXPECT_STREQ(RuntimeDelegateSignature(delegate),
                             Text(expected->at("signature")).c_str());
                EXPECT_EQ(RuntimeDelegateTarget(delegate), window);
                delegates.emplace_back(binding->delegate, expected->at("weak target") == "yes");
            }
        }
    }
    EXPECT_EQ(found, rows.size());
    CloseBothWindows();
    for (const auto& [delegate, weak] : delegates)
        EXPECT_EQ(RuntimeDelegateTarget(delegate.get()) == nullptr, weak) << "the window is gone";
}

// Each window binds its controls' events as it creates them, then its menu items when the
// framework raises AddMenuHandlers; the trace shows every delegate as it is made.
TEST_F(Design, EachWindowMakesItsBindingsInOrderEachDelegateWithItsSignatureAndFlag) {
    const Tables tables = Read("bindings.txt");
    CloseBothWindows();
    RuntimeTraceClear();
    RuntimeTraceEnable(true);
    MainWnd::MainWnd();  // its Open brings the splash window up
    RuntimeTraceEnable(false);
    const std::vector<std::string> trace = RuntimeTraceLog();
    RuntimeTraceClear();
    for (const std::string window : {"MainWnd.MainWnd", "SplashWnd.SplashWnd"}) {
        SCOPED_TRACE(window);
        // Each entry: the target's class, the delegate's signature text, its flags (1: weak).
        const std::string prefix = "RuntimeCreateDelegate " + window + "|";
        std::vector<std::string> expected, made;
        for (const char* section : {"bindings", "menu bindings"})
            for (const Row& row : Section(tables, section))
                if (row.at("window") == window)
                    expected.push_back(prefix + Text(row.at("signature")) + "|" +
                                       (row.at("weak target") == "yes" ? "1" : "0"));
        for (const std::string& entry : trace)
            if (entry.starts_with(prefix)) made.push_back(entry);
        EXPECT_EQ(made, expected);
    }
}

// The bar's items read top down, each as its row shows it, with its parent's name.
void ReadItems(Object* menu, const std::string& parent, std::vector<Row>& out) {
    for (int64_t i = 0; i < RuntimeMenuItemCount(menu); ++i) {
        Ref<Object> item = RuntimeMenuItemAt(menu, i);
        const std::string name = RuntimeMenuItemNameGetter(item.get(), 0).Std();
        out.push_back(
            {{"parent", parent},
             {"name", name},
             {"class", item->cls->name},
             {"caption", RuntimeMenuItemTextGetter(item.get(), 0).Std()},
             {"shortcut", RuntimeMenuItemCommandKeyGetter(item.get(), 0).Std()},
             {"auto-enabled", RuntimeMenuItemAutoEnableGetter(item.get(), 0) ? "True" : "False"},
             {"visible", RuntimeMenuItemVisibleGetter(item.get(), 0) ? "True" : "False"}});
        ReadItems(item.get(), name, out);
    }
}

TEST_F(Design, TheMenuBarHoldsItsItemsInOrderEachBuiltByItsMethodAndReachedByItsAccessor) {
    const std::vector<Row> rows = Section(Read("menu_items.txt"), "items");
    Ref<Object> fresh = RuntimeNewObject(MenuItem::dunder_Lookup());  // for a value never set
    RuntimeCallSlot<void>(fresh.get(), MenuItem::kConstructorSlot);
    std::vector<Row> items;
    ReadItems(::Menu::Menu().get(), "-", items);
    ASSERT_EQ(items.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].at("name"));
        for (const auto& [column, value] : items[i]) {
            const std::string cell = rows[i].at(column);
            const bool unset = column == "shortcut" && !Given(cell);
            EXPECT_EQ(value,
                      unset ? RuntimeMenuItemCommandKeyGetter(fresh.get(), 0).Std() : Text(cell));
        }
        Ref<Object> item = CallMethod(window(), rows[i].at("name"));
        ASSERT_TRUE(item) << "its accessor";
        EXPECT_EQ(RuntimeMenuItemNameGetter(item.get(), 0).Std(), rows[i].at("name"));
    }
    for (const std::string method : {"Untitled0", "Untitled1", "Untitled2", "Untitled3"}) {
        Ref<Object> bar = RuntimeNewObject(::Menu::Menu::dunder_Lookup());  // not constructed
        RuntimeCallSlot<void>(bar.get(), RuntimeFindMethod(bar->cls, method)->slot);
        std::vector<Row> built;
        ReadItems(bar.get(), "-", built);
        std::vector<std::string> names, expected;
        for (const Row& row : built) names.push_back(row.at("name"));
        for (const Row& row : rows)
            if (row.at("built by") == method) expected.push_back(row.at("name"));
        EXPECT_EQ(names, expected) << method;
    }
}

}  // namespace
}  // namespace conversion_test
