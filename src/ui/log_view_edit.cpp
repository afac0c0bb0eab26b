#include "ui/log_view_edit.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalBlocker>

namespace ligamor {

namespace {

// Pixels between the frame and the text, as a text edit's document margin.
constexpr int kMargin = 4;

QString FromUtf16(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

LogViewEdit::LogViewEdit(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    verticalScrollBar()->setSingleStep(1);
}

QString LogViewEdit::toPlainText() const
{
    return FromUtf16(Lines().Text(0, Lines().Count() - 1, u"\n"));
}

void LogViewEdit::copy() const
{
    if (HasSelection()) QGuiApplication::clipboard()->setText(FromUtf16(SelectedText(u"\n")));
}

int LogViewEdit::LineHeight() const
{
    return std::max(1, fontMetrics().height());
}

std::size_t LogViewEdit::LineAt(int y) const
{
    const int row = std::max(0, y - kMargin) / LineHeight();
    return std::min(TopLine() + static_cast<std::size_t>(row), Lines().Count() - 1);
}

int LogViewEdit::TextWidth() const
{
    return LongestWidth([this](const std::u16string& text) { return fontMetrics().horizontalAdvance(FromUtf16(text)); });
}

void LogViewEdit::UpdateScrollBars()
{
    SetRows(static_cast<std::size_t>(std::max(1, (viewport()->height() - kMargin) / LineHeight())));
    // Set without their signals: the view moves itself, and a refill must
    // not count as the reader scrolling.
    QScrollBar* vertical = verticalScrollBar();
    const QSignalBlocker blockVertical(vertical);
    vertical->setRange(0, static_cast<int>(MaxTop()));
    vertical->setPageStep(static_cast<int>(Rows()));
    vertical->setValue(static_cast<int>(TopLine()));
    QScrollBar* horizontal = horizontalScrollBar();
    const QSignalBlocker blockHorizontal(horizontal);
    horizontal->setRange(0, std::max(0, TextWidth() + 2 * kMargin - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(fontMetrics().averageCharWidth() * 4);
}

void LogViewEdit::Refilled(std::size_t firstChanged, std::size_t oldTop)
{
    UpdateScrollBars();
    const std::size_t top = TopLine();
    if (top != oldTop || firstChanged <= top) {
        viewport()->update();
        return;
    }
    // Lines added below the screen cost no drawing.
    const std::size_t row = firstChanged - top;
    if (row > Rows()) return;
    const int y = kMargin + static_cast<int>(row) * LineHeight();
    viewport()->update(0, y, viewport()->width(), viewport()->height() - y);
}

void LogViewEdit::Moved()
{
    UpdateScrollBars();
    viewport()->update();
}

void LogViewEdit::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const int height = LineHeight();
    const int ascent = fontMetrics().ascent();
    const int left = kMargin - horizontalScrollBar()->value();
    const int width = viewport()->width();
    const QRect area = event->rect();
    const int firstRow = std::max(0, area.top() - kMargin) / height;
    const int lastRow = std::max(0, area.bottom() - kMargin) / height;
    const std::size_t top = TopLine();
    const QPalette::ColorGroup group = isActiveWindow() ? QPalette::Active : QPalette::Inactive;
    const std::vector<std::u16string> lines =
        Lines().Shown(top + static_cast<std::size_t>(firstRow), static_cast<std::size_t>(lastRow - firstRow + 1));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t line = top + static_cast<std::size_t>(firstRow) + i;
        const int y = kMargin + (firstRow + static_cast<int>(i)) * height;
        if (IsSelected(line)) {
            painter.fillRect(QRect(0, y, width, height), palette().brush(group, QPalette::Highlight));
            painter.setPen(palette().color(group, QPalette::HighlightedText));
        } else {
            painter.setPen(palette().color(group, QPalette::Text));
        }
        painter.drawText(left, y + ascent, FromUtf16(lines[i]));
    }
}

void LogViewEdit::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    Moved();
}

void LogViewEdit::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        ForgetWidth();
        Moved();
    }
}

void LogViewEdit::scrollContentsBy(int, int dy)
{
    // The reader moved a scroll bar; the horizontal one is read when drawing.
    if (dy != 0) ScrollTo(verticalScrollBar()->value());
    viewport()->update();
}

void LogViewEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        viewport()->update();
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const auto top = static_cast<long long>(TopLine());
    const auto page = static_cast<long long>(Rows());
    QScrollBar* horizontal = horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_Up: shift ? MoveCaret(-1) : void(ScrollTo(top - 1)); break;
    case Qt::Key_Down: shift ? MoveCaret(1) : void(ScrollTo(top + 1)); break;
    case Qt::Key_PageUp: shift ? MoveCaret(-page) : void(ScrollTo(top - page)); break;
    case Qt::Key_PageDown: shift ? MoveCaret(page) : void(ScrollTo(top + page)); break;
    case Qt::Key_Home:
        if (control) ScrollTo(0);
        horizontal->setValue(0);
        break;
    case Qt::Key_End:
        if (control) ScrollTo(static_cast<long long>(MaxTop()));
        horizontal->setValue(control ? 0 : horizontal->maximum());
        break;
    case Qt::Key_Left: horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Right: horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    default:
        // Nothing typed reaches the view.
        event->ignore();
        return;
    }
    Moved();
}

void LogViewEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    Select(LineAt(static_cast<int>(event->position().y())), event->modifiers() & Qt::ShiftModifier);
    viewport()->update();
}

void LogViewEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) return;
    // Dragging past an edge scrolls a line at a time.
    const int y = static_cast<int>(event->position().y());
    const auto top = static_cast<long long>(TopLine());
    if (y < 0) ScrollTo(top - 1);
    else if (y >= viewport()->height()) ScrollTo(top + 1);
    Select(LineAt(y), true);
    Moved();
}

}  // namespace ligamor
