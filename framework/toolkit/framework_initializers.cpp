// The framework's own entries of the initialiser table: one registration per class of the
// framework, in case-insensitive order of their names.
#include <algorithm>
#include <string>
#include <vector>

#include "framework/toolkit/toolkit.h"

namespace {

// The entries as the framework's parts declare them; sorted before use.
// clang-format off
const Initializer kFrameworkClasses[] = {
    // application and windows
    {"Application.__ctblinit",                            &Application::dunder_ctblinit},
    {"_MacOSDistributedNotifications.iNotify.__ctblinit", &under_MacOSDistributedNotifications::iNotify::dunder_ctblinit},
    {"Window.__ctblinit",                                 &Window::dunder_ctblinit},
    {"MessageDialog.__ctblinit",                          &MessageDialog::dunder_ctblinit},
    // controls
    {"Control.__ctblinit",                                &Control::dunder_ctblinit},
    {"RectControl.__ctblinit",                            &RectControl::dunder_ctblinit},
    {"TextEdit.__ctblinit",                               &TextEdit::dunder_ctblinit},
    {"TextField.__ctblinit",                              &TextField::dunder_ctblinit},
    {"TextArea.__ctblinit",                               &TextArea::dunder_ctblinit},
    {"Label.__ctblinit",                                  &Label::dunder_ctblinit},
    {"PushButton.__ctblinit",                             &PushButton::dunder_ctblinit},
    {"Canvas.__ctblinit",                                 &Canvas::dunder_ctblinit},
    // menus
    {"MenuItem.__ctblinit",                               &MenuItem::dunder_ctblinit},
    {"MenuBar.__ctblinit",                                &MenuBar::dunder_ctblinit},
    {"AppleMenuItem.__ctblinit",                          &AppleMenuItem::dunder_ctblinit},
    {"QuitMenuItem.__ctblinit",                           &QuitMenuItem::dunder_ctblinit},
    // timers and the interfaces of a control on a window
    {"Timer.__ctblinit",                                  &Timer::dunder_ctblinit},
    {"actionSource.__ctblinit",                           &actionSource::dunder_ctblinit},
    {"_PaneChild.__ctblinit",                             &under_PaneChild::dunder_ctblinit},
    {"actionNotificationReceiver.__ctblinit",             &actionNotificationReceiver::dunder_ctblinit},
    // pictures and file types
    {"Picture.__ctblinit",                                &Picture::dunder_ctblinit},
    {"FileType.__ctblinit",                               &FileType::dunder_ctblinit},
    // the runtime's own classes
    {"WeakRef.__ctblinit",                                &WeakRef::dunder_ctblinit},
    {"Delegate.__ctblinit",                               &Delegate::dunder_ctblinit},
    {"ObjectArray.__ctblinit",                            &ObjectArray::dunder_ctblinit},
    {"RuntimeException.__ctblinit",                       &RuntimeException::dunder_ctblinit},
    {"NilObjectException.__ctblinit",                     &NilObjectException::dunder_ctblinit},
    {"IllegalCastException.__ctblinit",                   &IllegalCastException::dunder_ctblinit},
    {"OutOfBoundsException.__ctblinit",                   &OutOfBoundsException::dunder_ctblinit},
    {"StackOverflowException.__ctblinit",                 &StackOverflowException::dunder_ctblinit},
    {"TypeMismatchException.__ctblinit",                  &TypeMismatchException::dunder_ctblinit},
    {"UnsupportedFormatException.__ctblinit",             &UnsupportedFormatException::dunder_ctblinit},
    {"FunctionNotFoundException.__ctblinit",              &FunctionNotFoundException::dunder_ctblinit},
    {"ThreadAccessingUIException.__ctblinit",             &ThreadAccessingUIException::dunder_ctblinit},
    {"EndException.__ctblinit",                           &EndException::dunder_ctblinit},
    {"ThreadEndException.__ctblinit",                     &ThreadEndException::dunder_ctblinit},
    {"UnsupportedOperationException.__ctblinit",          &UnsupportedOperationException::dunder_ctblinit},
};
// clang-format on

bool NameBefore(const Initializer& a, const Initializer& b) {
    return std::lexicographical_compare(
        a.name, a.name + std::char_traits<char>::length(a.name), b.name,
        b.name + std::char_traits<char>::length(b.name), [](char x, char y) {
            auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
            return lower(x) < lower(y);
        });
}

// The boxing classes are built together: the first of their entries builds all nineteen,
// the others find their records made.
std::vector<Initializer> SortedEntries() {
    static const std::vector<std::string> boxingNames = [] {
        std::vector<std::string> names;
        for (const char* name : RuntimeBoxingClassNames())
            names.push_back(std::string(name) + ".__ctblinit");
        return names;
    }();
    std::vector<Initializer> entries(std::begin(kFrameworkClasses), std::end(kFrameworkClasses));
    for (const std::string& name : boxingNames)
        entries.push_back({name.c_str(), &RuntimeInitBoxingClasses});
    std::stable_sort(entries.begin(), entries.end(), &NameBefore);
    return entries;
}

}  // namespace

std::span<const Initializer> FrameworkInitializers() {
    static const std::vector<Initializer> entries = SortedEntries();
    return entries;
}
