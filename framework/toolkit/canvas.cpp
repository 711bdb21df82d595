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

class CanvasImpl : public ControlImpl {
  public:
    explicit CanvasImpl(Object* self) : ControlImpl(self, ControlKind::kCanvas, kCanvasEvents) {}

    // AllowTabs: Tab reaches KeyDown and stays here instead of moving the focus.
    bool KeyNotHandled(QKeyEvent* event) override {
        return state.allowTabs && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab);
    }

  protected:
    QWidget* MakeWidget(QWidget* parent) override { return new CanvasWidget(parent); }

    void ApplyOwn(Aspect aspect) override {
        if (aspect == Aspect::kBackdrop)
            static_cast<CanvasWidget*>(Widget())->SetBackdrop(
                ToolkitPictureImage(state.backdrop.get()));
    }

    Qt::FocusPolicy NaturalFocusPolicy() const override {
        return state.allowFocus ? Qt::StrongFocus : Qt::NoFocus;
    }
};

ClassCell gCanvas{nullptr, &Canvas::dunder_ctblinit};

}  // namespace
}  // namespace controls

using controls::ImplOf;

Ref<Object> canvasBackdropGetter(Object* canvas, int32_t) {
    RuntimeCheckCast(RuntimeRequire(canvas), Canvas::dunder_Lookup());
    return ImplOf(canvas).state.backdrop;
}

void canvasBackdropSetter(Object* canvas, int32_t, Object* picture) {
    RuntimeCheckCast(RuntimeRequire(canvas), Canvas::dunder_Lookup());
    Ref<Object> checked = RuntimeCheckCast(picture, Picture::dunder_Lookup());
    controls::ControlImpl& impl = ImplOf(canvas);
    impl.state.backdrop = std::move(checked);
    impl.Apply(controls::Aspect::kBackdrop);
}

void Canvas::dunder_ctblinit() {
    using controls::Aspect;
    using controls::ControlState;
    using controls::StateProperty;
    static const EventRow events[] = {{"DoubleClick"}, {"GotFocus"},  {"LostFocus"},
                                      {"MouseDown"},   {"MouseDrag"}, {"MouseUp"}};
    // name and type; the aspect says what the value drives in the canvas widget
    static const PropertyRow properties[] = {
        StateProperty<&ControlState::allowFocusRing, Aspect::kFocusRing>("AllowFocusRing", "b"),
        StateProperty<&ControlState::allowFocus, Aspect::kFocusPolicy>("AllowFocus", "b"),
        StateProperty<&ControlState::allowTabs>("AllowTabs", "b"),
        StateProperty<&ControlState::doubleBuffer>("DoubleBuffer", "b"),
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
