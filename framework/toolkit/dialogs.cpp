// The beep, the message box and MessageDialog, with the seams through which tests hear the
// beeps and read and answer the boxes.
#include "framework/toolkit/dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

#include "framework/toolkit/application.h"
#include "framework/toolkit/qt_values.h"
#include "framework/toolkit/toolkit_internal.h"
#include "framework/toolkit/toolkit_testing.h"
#include "framework/toolkit/window.h"

namespace {

struct DialogSeams {
    int64_t beeps = 0;
    bool recording = false;
    std::vector<std::string> boxes;  // recorded message texts, in order
};

DialogSeams& Seams() {
    static auto* seams = new DialogSeams();
    return *seams;
}

// The title of the application's boxes: its PackageInfo, else Qt's application name.
QString BoxTitle() {
    if (Ref<Object> app = RuntimeApplicationObject()) {
        const PropertyEntry* package = RuntimeFindProperty(app->cls, "PackageInfo");
        if (package && package->boxedGetter) {
            String name = package->boxedGetter(app.get(), package).AsString();
            if (!name.Empty()) return ToQString(name);
        }
    }
    return QGuiApplication::applicationDisplayName();
}

// ---- MessageDialog ----------------------------------------------------------------------

namespace dialog_field {
constexpr int32_t kTitle = -8;
constexpr int32_t kMessage = -16;
constexpr int32_t kExplanation = -24;
constexpr int32_t kIcon = -32;  // 0 none, 1 note, 2 caution, 3 stop, 4 question
constexpr int32_t kActionButtonCaption = -40;
constexpr int32_t kCancelButtonCaption = -48;     // the empty text: no cancel button
constexpr int32_t kAlternateButtonCaption = -56;  // the empty text: no alternate button
constexpr uint32_t kInstanceDataSize = 56;
constexpr int32_t kTexts[] = {kTitle,
                              kMessage,
                              kExplanation,
                              kActionButtonCaption,
                              kCancelButtonCaption,
                              kAlternateButtonCaption};
}  // namespace dialog_field

// ShowModal's answers: which button the user chose.
enum DialogAnswer : int64_t { kActionButton = 0, kCancelButton = 1, kAlternateButton = 2 };

ClassCell gMessageDialogCell{nullptr, &MessageDialog::dunder_ctblinit};

String DialogText(Object* dialog, int32_t offset) {
    return props::String::Get(dialog, offset);
}

void MessageDialogInit(Object* self) {
    props::String::Set(self, dialog_field::kActionButtonCaption, String("OK"));
}

void MessageDialogExit(Object* self) {
    for (int32_t offset : dialog_field::kTexts)
        String::AdoptRaw(std::exchange(self->Field<StringData*>(offset), nullptr));
}

QMessageBox::Icon BoxIcon(int64_t icon) {
    switch (icon) {
        case 1:
            return QMessageBox::Information;
        case 2:
            return QMessageBox::Warning;
        case 3:
            return QMessageBox::Critical;
        case 4:
            return QMessageBox::Question;
        default:
            return QMessageBox::NoIcon;
    }
}

int64_t ShowDialog(Object* dialog, QWidget* parent) {
    under_UITrap();
    using namespace dialog_field;
    RuntimeRequire(dialog);
    const String message = DialogText(dialog, kMessage);
    const String explanation = DialogText(dialog, kExplanation);
    if (Seams().recording) {
        std::string text = message.Std();
        if (!explanation.Empty()) text += "\n\n" + explanation.Std();
        Seams().boxes.push_back(text);
        return kActionButton;  // answered at once, as by Return
    }
    ToolkitEnsureApplication();
    const String title = DialogText(dialog, kTitle);
    QMessageBox box(BoxIcon(props::Integer::Get(dialog, kIcon)),
                    title.Empty() ? BoxTitle() : ToQString(title), ToQString(message),
                    QMessageBox::NoButton, parent);
    box.setInformativeText(ToQString(explanation));
    QPushButton* action =
        box.addButton(ToQString(DialogText(dialog, kActionButtonCaption)), QMessageBox::AcceptRole);
    box.setDefaultButton(action);
    QPushButton* cancel = nullptr;
    if (String caption = DialogText(dialog, kCancelButtonCaption); !caption.Empty())
        cancel = box.addButton(ToQString(caption), QMessageBox::RejectRole);
    QPushButton* alternate = nullptr;
    if (String caption = DialogText(dialog, kAlternateButtonCaption); !caption.Empty())
        alternate = box.addButton(ToQString(caption), QMessageBox::DestructiveRole);
    box.exec();
    if (cancel && box.clickedButton() == cancel) return kCancelButton;
    if (alternate && box.clickedButton() == alternate) return kAlternateButton;
    if (cancel && !box.clickedButton()) return kCancelButton;  // closed with Escape
    return kActionButton;
}

int64_t ShowModal(Object* dialog) {
    return ShowDialog(dialog,
                      ToolkitHaveWidgetsApplication() ? QApplication::activeWindow() : nullptr);
}

int64_t ShowModalWithin(Object* dialog, Object* window) {
    QWidget* content = ToolkitWindowWidget(window);
    return ShowDialog(dialog, content ? content->window() : nullptr);
}

}  // namespace

void MessageDialog::dunder_ctblinit() {
    using namespace dialog_field;
    // clang-format off
    static const MethodRow MessageDialog_methods[] = {
        //     name               flags           signature        function          slot
        Method("ShowModal",       kPublicVirtual, "%i8%",          &ShowModal,       0),
        Method("ShowModalWithin", kPublicVirtual, "%i8%o<Window>", &ShowModalWithin, 1),
    };
    static const PropertyRow MessageDialog_properties[] = {
        StoredProperty<String>( "Title",                  kStoredWritable, "s",  kTitle),
        StoredProperty<String>( "Message",                kStoredWritable, "s",  kMessage),
        StoredProperty<String>( "Explanation",            kStoredWritable, "s",  kExplanation),
        StoredProperty<int64_t>("Icon",                   kStoredWritable, "i8", kIcon),
        StoredProperty<String>( "ActionButtonCaption",    kStoredWritable, "s",  kActionButtonCaption),
        StoredProperty<String>( "CancelButtonCaption",    kStoredWritable, "s",  kCancelButtonCaption),
        StoredProperty<String>( "AlternateButtonCaption", kStoredWritable, "s",  kAlternateButtonCaption),
    };
    // clang-format on
    static const ClassSpec spec{.name = "MessageDialog",
                                .superclass = nullptr,
                                .methodCount = 2,
                                .interfaceCount = 0,
                                .eventCount = 0,
                                .propertyCount = 7,
                                .instanceDataSize = kInstanceDataSize,
                                .slotCount = 2,
                                .init = &MessageDialogInit,
                                .exit = &MessageDialogExit,
                                .methods = MessageDialog_methods,
                                .properties = MessageDialog_properties};
    RuntimeBuildClass(gMessageDialogCell, spec);
}

ClassRecord* MessageDialog::dunder_Lookup() {
    return RuntimeLookupClass(gMessageDialogCell);
}

void Beep() {
    under_UITrap();
    ++Seams().beeps;
    if (ToolkitHaveWidgetsApplication()) QApplication::beep();
}

void RuntimeMsgBox(String text) {
    under_UITrap();
    if (Seams().recording) {
        Seams().boxes.push_back(text.Std());
        return;
    }
    if (!ToolkitHaveWidgetsApplication()) {
        std::fprintf(stderr, "%s\n", text.Std().c_str());  // no window system to show it on
        return;
    }
    QMessageBox::information(QApplication::activeWindow(), BoxTitle(), ToQString(text));
}

int64_t ToolkitBeepCount() {
    return Seams().beeps;
}
void ToolkitResetBeepCount() {
    Seams().beeps = 0;
}
void ToolkitRecordMessageBoxes(bool on) {
    Seams().recording = on;
}
std::vector<std::string> ToolkitMessageBoxes() {
    return Seams().boxes;
}
void ToolkitClearMessageBoxes() {
    Seams().boxes.clear();
}
