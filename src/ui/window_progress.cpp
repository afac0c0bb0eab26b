#include "ui/window_progress.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>

#include "ui/text_codec.h"
#include "window/window_appearance.h"

namespace ligamor {

WindowProgress::WindowProgress(QProgressBar& bar) : bar_(bar)
{
    bar_.hide();
}

void WindowProgress::LetEventsThrough()
{
    QCoreApplication::processEvents();
}

void WindowProgress::Show(const std::string& fileName, std::size_t done, std::size_t total)
{
    // The bar counts in int; a file of more lines than that is shown in scale.
    const std::size_t scale = total / INT_MAX + 1;
    bar_.setRange(0, static_cast<int>(total / scale));
    bar_.setValue(static_cast<int>(std::min(done, total) / scale));
    // The text is the format: a file name holds no "%".
    bar_.setFormat(FromCp1252(ProgressText(fileName, done, total)));
    if (bar_.isHidden()) bar_.show();
}

void WindowProgress::CycleEnded()
{
    bar_.hide();
    bar_.reset();
    ClearStop();
}

}  // namespace ligamor
