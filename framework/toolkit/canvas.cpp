// Canvas: a widget that paints its backdrop picture at its top-left corner, at the
// picture's own size, unscaled; without a backdrop it paints nothing of its own.
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

#include "framework/toolkit/control_impl.h"
#include "framework/toolkit/controls.h"
#include "framework/toolkit/picture.h"
#include "framework/toolkit/picture_internal.h"

namespace controls {
namespace {

// Numbered from 15, after RectControl's.
constexpr KindEvents kCanvasEvents{.gotFocus = 16,
                                   .lostFocus = 17,
                                   .mouseDown = 18,
                                   .mouseDrag = 19,
                                   .mouseUp = 20,
                                   .doubleClick = 15};

class CanvasWidget : public QWidget {
  public:
    explicit CanvasWidget(QWidget* parent) : QWidget(parent) {}

    void SetBackdrop(const QImage* image) {
        backdrop_ = image ? *image : QImage();  // shared, not copied: pictures never change
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (backdrop_.isNull()) return;
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), backdrop_);
    }

  private:
    QImage backdrop_;
};

// The values only Canvas declares.
struct CanvasValues {
    bool allowFocus = false;
    bool doubleBuffer = false;
    Ref<Object> backdrop;  // a Picture, or nil
};

class CanvasImpl : public WithValues<ControlImpl, FocusValues, CanvasValues> {
  public:
    explicit CanvasImpl(Object* self) : WithValues(self, ControlKind::kCanvas, kCanvasEvents) {}

    // AllowTabs: Tab reaches KeyDown and stays here instead of moving the focus.
    bool KeyNotHandled(QKeyEvent* event) override {
        return allowTabs && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab);
    }

  protected:
    QWidget* MakeWidget(QWidget* parent) override { return new CanvasWidget(parent); }

    void ApplyOwn(Aspect aspect) override {
        if (aspect == Aspect::kBackdrop)
            static_cast<CanvasWidget*>(Widget())->SetBackdrop(ToolkitPictureImage(backdrop.get()));
    }

    Qt::FocusPolicy NaturalFocusPolicy() const override {
        return allowFocus ? Qt::StrongFocus : Qt::NoFocus;
    }
};

ClassCell gCanvas{nullptr, &Canvas::dunder_ctblinit};

}  // namespace
}  // namespace controls

using controls::ImplOf;

Ref<Object> canvasBackdropGetter(Object* canvas, int32_t) {
    RuntimeCheckCast(RuntimeRequire(canvas), Canvas::dunder_Lookup());
    return controls::ValuesOf<controls::CanvasValues>(ImplOf(canvas)).backdrop;
}

void canvasBackdropSetter(Object* canvas, int32_t, Object* picture) {
    RuntimeCheckCast(RuntimeRequire(canvas), Canvas::dunder_Lookup());
    Ref<Object> checked = RuntimeCheckCast(picture, Picture::dunder_Lookup());
    controls::ControlImpl& impl = ImplOf(canvas);
    controls::ValuesOf<controls::CanvasValues>(impl).backdrop = std::move(checked);
    impl.Apply(controls::Aspect::kBackdrop);
}

void Canvas::dunder_ctblinit() {
    using controls::Aspect;
    using controls::CanvasValues;
    using controls::FocusValues;
    using controls::StateProperty;
    static const EventRow events[] = {{"DoubleClick"}, {"GotFocus"},  {"LostFocus"},
                                      {"MouseDown"},   {"MouseDrag"}, {"MouseUp"}};
    // name and type; the aspect says what the value drives in the canvas widget
    static const PropertyRow properties[] = {
        StateProperty<&FocusValues::allowFocusRing, Aspect::kFocusRing>("AllowFocusRing", "b"),
        StateProperty<&CanvasValues::allowFocus, Aspect::kFocusPolicy>("AllowFocus", "b"),
        StateProperty<&FocusValues::allowTabs>("AllowTabs", "b"),
        StateProperty<&CanvasValues::doubleBuffer>("DoubleBuffer", "b"),
        ComputedProperty<Ref<Object>>("Backdrop", kComputedWritable, "o<Picture>",
                                      &canvasBackdropGetter, &canvasBackdropSetter),
    };
    controls::BuildControlClass(controls::gCanvas,
                                {.name = "Canvas",
                                 .superclass = &RectControl::dunder_Lookup,
                                 .init = &controls::InitImpl<controls::CanvasImpl>,
                                 .events = events,
                                 .properties = properties});
}
ClassRecord* Canvas::dunder_Lookup() {
    return RuntimeLookupClass(controls::gCanvas);
}
