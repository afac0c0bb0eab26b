#pragma once
// rce: the window's view of the integration log, a widget of our own that
// draws only the lines on screen from the shared LogPane. A text edit would
// hold the whole log as UTF-16 with its layout and lay out every line on each
// fill; a year's log took seconds and hundreds of megabytes. The view is
// read-only (what it shows is always the log file); lines are selected with
// the mouse or Shift and the arrow keys, and Ctrl+C copies them.
#include <QAbstractScrollArea>
#include <QString>

#include "window/log_pane.h"

namespace ligamor {

class LogViewEdit : public QAbstractScrollArea, public LogPane {
public:
    explicit LogViewEdit(QWidget* parent = nullptr);

    // The whole text as shown, lines ended by "\n".
    QString toPlainText() const;
    // Puts the selected lines on the clipboard, as Ctrl+C does.
    void copy() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Refilled(std::size_t firstChanged, std::size_t oldTop) override;
    void Moved();
    void UpdateScrollBars();
    int LineHeight() const;
    int TextWidth() const;
    std::size_t LineAt(int y) const;
};

}  // namespace ligamor
