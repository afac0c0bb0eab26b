#pragma once
// What the Qt window's status bar holds: the maker's banner, the health and,
// while a cycle runs, the cycle's bar, placed and shortened as the status-bar
// rule says (window/status_bar_rule.h) whenever a text or the width changes.
#include <QLabel>
#include <QProgressBar>
#include <QString>
#include <QWidget>

namespace ligamor {

class StatusBarParts : public QWidget {
public:
    explicit StatusBarParts(QWidget* parent = nullptr);

    QLabel* const banner;
    QLabel* const health;          // its whole line as the tool tip
    QProgressBar* const progress;  // hidden between cycles

    // Texts whole; a part too narrow for its text ends it in "...".
    // saysWho: the text says who integrates (status_bar_rule.h).
    void ShowBanner(const QString& text, bool saysWho = false);
    void ShowHealth(const QString& line, const QString& styleSheet);
    // widest: the widest text of the running file, so that the parts keep
    // their places while its count grows.
    void ShowProgress(const QString& text, const QString& widest, int value, int maximum);
    void HideProgress();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void LayOut();

    QString bannerText_;
    bool bannerSaysWho_ = false;
    QString healthText_;
    int progressNeed_ = 0;
};

}  // namespace ligamor
