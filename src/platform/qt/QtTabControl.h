// The tab control on Qt: tabs drawn by the style in as many rows as they
// need, and a page area that shows one page or none.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "platform/qt/QtControlBase.h"
#include "platform/qt/QtSimpleControls.h"

namespace ratiscope {

class TQtTabWidget final : public QWidget {
public:
    TQtTabWidget(QWidget* parent, std::function<bool()> pressDefault);

    TQtPanelWidget* AddPage();
    int PageCount() const { return static_cast<int>(pages_.size()); }
    void SetCaption(int page, const QString& text);
    QString Caption(int page) const;
    int Active() const { return active_; }
    // Shows the page; anything that is no page shows none.
    void SetActive(int page);
    QRect TabRect(int page) const;
    // The page `step` places after (or before, when negative) the shown one,
    // round the end, as the user chose it; the tab row takes the focus when
    // the focused control was on the page that goes. With none shown, the first.
    void StepPage(int step);

    std::function<void()> changed;  // the user chose a page
    std::function<void()> moved;    // the pointer moved over the tabs

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void Relayout();
    void UserChoose(int page);
    QRect PageArea() const;

    std::function<bool()> pressDefault_;
    std::vector<TQtPanelWidget*> pages_;
    std::vector<QString> captions_;
    std::vector<QRect> tabs_;
    int stripHeight_ = 0;
    int active_ = -1;
};

class TQtTabControl final : public TQtControl<ITabControl, TQtTabWidget> {
public:
    TQtTabControl(QWidget* parent, std::string_view name, std::function<bool()> pressDefault);
    IContainer& AddPage(std::string_view name) override;
    std::int32_t PageCount() const override { return W()->PageCount(); }
    void SetTabCaption(std::int32_t page, std::string_view text) override { W()->SetCaption(page, QtString(text)); }
    std::string TabCaption(std::int32_t page) const override { return StdString(W()->Caption(page)); }
    std::int32_t ActivePage() const override { return W()->Active(); }
    void SetActivePage(std::int32_t page) override { W()->SetActive(page); }
    TRect TabRect(std::int32_t page) const override;

private:
    std::vector<std::unique_ptr<TQtContainer>> pages_;
};

}  // namespace ratiscope
