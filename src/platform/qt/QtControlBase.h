// What every Qt control shares: its widget, placement, typeface and focus, and
// the text and colour conversions between the interfaces and Qt.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <string>
#include <string_view>

#include "platform/Controls.h"
#include "platform/qt/QtTextEngine.h"

namespace ratiscope {

inline QString QtString(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

inline std::string StdString(const QString& s) { return s.toStdString(); }

// 0x00BBGGRR to a Qt colour and back.
inline QColor QtColor(TColor c) { return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)); }
inline TColor ColorFromQt(const QColor& c) {
    return TColor(c.red()) | TColor(c.green()) << 8 | TColor(c.blue()) << 16;
}

// "Tahoma" is the copy fonts-wine brings when fontconfig has none of its own.
inline QFont QtFont(const TFont& f) {
    QString face = QtString(f.face);
    if (face == QLatin1String("Tahoma")) {
        const QString bundled = RegisterBundledTahoma();
        if (!bundled.isEmpty()) face = bundled;
    }
    QFont q(face);
    q.setPixelSize(f.height > 0 ? f.height : 1);
    q.setBold(f.bold);
    return q;
}

// What the control set does to every control before it ends them.
class IQtControlEnd {
public:
    virtual ~IQtControlEnd() = default;
    // Drops every handler: widgets being deleted still send focus and change
    // events, which must not reach a program that is tearing the window down.
    virtual void Silence() = 0;
};

// A control over one widget it owns. The widget lives in its parent widget;
// the control deletes it when the control set ends, children before parents.
template <class Interface, class Widget>
class TQtControl : public Interface, public IQtControlEnd {
public:
    explicit TQtControl(Widget* widget, std::string_view name) : widget_(widget) {
        widget_->setObjectName(QtString(name));
    }
    ~TQtControl() override { delete widget_.data(); }
    TQtControl(const TQtControl&) = delete;
    TQtControl& operator=(const TQtControl&) = delete;

    Widget* W() const { return widget_.data(); }

    void Silence() override {
        if constexpr (requires(Interface& i) { i.OnChange; }) this->OnChange = nullptr;
        if constexpr (requires(Interface& i) { i.OnKeyDown; }) this->OnKeyDown = nullptr;
        if constexpr (requires(Interface& i) { i.OnExit; }) this->OnExit = nullptr;
        if constexpr (requires(Interface& i) { i.OnSelect; }) this->OnSelect = nullptr;
        if constexpr (requires(Interface& i) { i.OnClick; }) this->OnClick = nullptr;
        if constexpr (requires(Interface& i) { i.OnClickCheck; }) this->OnClickCheck = nullptr;
        if constexpr (requires(Interface& i) { i.OnMouseMove; }) this->OnMouseMove = nullptr;
    }

    void SetBounds(TRect b) override { widget_->setGeometry(b.left, b.top, b.Width(), b.Height()); }
    TRect Bounds() const override {
        const QRect g = widget_->geometry();
        return {g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
    }
    void SetFont(const TFont& font) override {
        font_ = font;
        widget_->setFont(QtFont(font));
    }
    TFont Font() const override { return font_; }
    void SetFocus() override { widget_->setFocus(Qt::OtherFocusReason); }
    bool Focused() const override { return widget_->hasFocus(); }

protected:
    QPointer<Widget> widget_;
    TFont font_;
};

}  // namespace ratiscope
