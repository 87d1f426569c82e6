// The baseline of the start-up benchmark: the least a Qt 6 program does to
// show a frameless, always-on-top window of the overlay's first-run size.
#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class TBareWindow final : public QWidget {
public:
    TBareWindow() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(255, 64, 64)); }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    TBareWindow window;
    // 396 + 2 x 12 by round(396 x 0.618...) + 2 x 12 + 16: the overlay at first start.
    window.setGeometry(300, 240, 420, 285);
    window.show();
    return QApplication::exec();
}
