// The baseline of the start-up benchmark: the least a Qt 6 program does to
// show a frameless, always-on-top window of the overlay's first-run size.
// With "--text" it also draws one line of text, which brings in the font
// machinery every program that shows text pays for once. With "--controls"
// it also shows a second window holding the kinds of standard controls the
// settings panel holds, one of each on a shown page and on a hidden one: what
// any program with such a panel pays for the widget library's code and data.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
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

// One page's worth of each kind of control, stacked down the page.
void AddControls(QWidget& page) {
    int top = 4;
    auto place = [&top](QWidget* w) {
        w->move(4, top);
        top += 26;
    };
    auto* group = new QGroupBox(QStringLiteral("Snap to"), &page);
    new QRadioButton(QStringLiteral("Width"), group);
    place(group);
    place(new QLineEdit(QStringLiteral("396"), &page));
    place(new QToolButton(&page));
    auto* editable = new QComboBox(&page);
    editable->setEditable(true);
    editable->setCompleter(nullptr);
    editable->addItems({QStringLiteral("0.618"), QStringLiteral("0.5")});
    place(editable);
    auto* list = new QComboBox(&page);
    list->addItems({QStringLiteral("Golden section"), QStringLiteral("Thirds")});
    place(list);
    place(new QCheckBox(QStringLiteral("Lock aspect ratio"), &page));
    place(new QPushButton(QStringLiteral("Fit to window"), &page));
    place(new QLabel(QStringLiteral("Grid step (px)"), &page));
    place(new QSlider(Qt::Horizontal, &page));
    auto* checks = new QListWidget(&page);
    for (const char* text : {"Show values", "Show hints"}) {
        auto* item = new QListWidgetItem(QString::fromLatin1(text), checks);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    place(checks);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    TBareWindow window(mode == QLatin1String("--text") || mode == QLatin1String("--controls"));
    // 396 + 2 x 12 by round(396 x 0.618...) + 2 x 12 + 16: the overlay at first start.
    window.setGeometry(300, 240, 420, 285);
    window.show();
    // Beside the overlay, at the settings panel's first-run size.
    QWidget panel(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    QWidget* shown = new QWidget(&panel);
    QWidget* hidden = new QWidget(&panel);
    if (mode == QLatin1String("--controls")) {
        panel.setGeometry(730, 240, 175, 450);
        shown->setGeometry(0, 0, 175, 450);
        AddControls(*shown);
        hidden->hide();
        AddControls(*hidden);
        panel.show();
    }
    return QApplication::exec();
}
