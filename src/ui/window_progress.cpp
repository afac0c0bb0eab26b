#include "ui/window_progress.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>

#include "ui/text_codec.h"
#include "window/window_appearance.h"

namespace ligamor {

void WindowProgress::LetEventsThrough()
{
    QCoreApplication::processEvents();
}

void WindowProgress::Show(const std::string& fileName, std::size_t done, std::size_t total)
{
    // The bar counts in int; a file of more lines than that is shown in scale.
    const std::size_t scale = total / INT_MAX + 1;
    statusBar_.ShowProgress(FromCp1252(ProgressText(fileName, done, total)),
                            FromCp1252(ProgressText(fileName, std::max(done, total), total)),
                            static_cast<int>(std::min(done, total) / scale), static_cast<int>(total / scale));
}

void WindowProgress::CycleEnded()
{
    statusBar_.HideProgress();
    ClearStop();
}

}  // namespace ligamor
