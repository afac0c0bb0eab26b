#pragma once
// The window's side of a cycle in Qt: the bar "PRODUTO.TXT: 4.500 de 20.000
// linhas" in the status bar, and the event loop run between two lines, both
// paced by PacedProgress.
#include <QProgressBar>
#include <cstddef>
#include <string>

#include "window/paced_progress.h"

namespace ligamor {

class WindowProgress : public PacedProgress {
public:
    // bar stays hidden outside cycles.
    explicit WindowProgress(QProgressBar& bar);

    // The window as it is between cycles: bar hidden, no stop pending.
    void CycleEnded();

protected:
    void Show(const std::string& fileName, std::size_t done, std::size_t total) override;
    void LetEventsThrough() override;

private:
    QProgressBar& bar_;
};

}  // namespace ligamor
