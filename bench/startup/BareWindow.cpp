// The baseline of the start-up benchmark: the least a Qt 6 program does to
// show a frameless, always-on-top window of the overlay's first-run size.
// With "--text" it also draws one line of text, which brings in the font
// machinery every program that shows text pays for once.
#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class TBareWindow final : public QWidget {
public:
    explicit TBareWindow(bool withText)
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), withText_(withText) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(255, 64, 64));
        if (withText_) painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Vendrel Ratiscope"));
    }

private:
    bool withText_;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    TBareWindow window(argc > 1 && qstrcmp(argv[1], "--text") == 0);
    // 396 + 2 x 12 by round(396 x 0.618...) + 2 x 12 + 16: the overlay at first start.
    window.setGeometry(300, 240, 420, 285);
    window.show();
    return QApplication::exec();
}
