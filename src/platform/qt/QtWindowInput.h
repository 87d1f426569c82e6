// What a window holding controls does with the wheel and the page keys before
// any control sees them: the wheel goes to the focused control, not to the
// one under the pointer, and Ctrl+Tab pages through the tab controls.
#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QWidget;
class QKeyEvent;
class QWheelEvent;

namespace ratiscope {

class TQtTabWidget;

class TQtWindowInput final : public QObject {
public:
    // Watches the input of `host`'s window, which must outlive this.
    explicit TQtWindowInput(QWidget& host);
    ~TQtWindowInput() override;
    TQtWindowInput(const TQtWindowInput&) = delete;
    TQtWindowInput& operator=(const TQtWindowInput&) = delete;

    // A tab control of the window that the page keys step through.
    void AddTabWidget(TQtTabWidget* tabs);

    // Which way a key steps the pages: +1, -1, or 0 for a key that is no page key.
    static int PageStepOf(const QKeyEvent& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Wheel(const QWheelEvent& wheel);
    bool PageKey(const QKeyEvent& key);
    void WatchNativeWindow();

    QWidget& host_;
    QPointer<QWidget> topLevel_;
    QPointer<QObject> watched_;
    std::vector<QPointer<TQtTabWidget>> tabs_;
};

}  // namespace ratiscope
