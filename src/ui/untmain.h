#pragma once
// frmmain: the one main window. It shows the integration log in rce, owns the
// context menu that switches polling on and off, and runs every event's work
// through RunHandler so that no failure escapes into Qt.
//
// A cycle lets the event loop run between its lines, so menu commands and the
// close button can arrive while it runs. None of them reconnects, opens the
// dialog or closes the window in the middle of a cycle: "&Desativar",
// "&Configurações", "&Fechar" and the close button end the cycle after its
// current line, as a failed cycle ends (nothing moved, the files read again
// whole later); "&Ativar" lets it run on. Whatever else the command does
// follows once the cycle has unwound.
#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <functional>
#include <vector>

#include "engine/untfuncoes.h"
#include "ui/log_view_edit.h"
#include "ui/qt_timer.h"
#include "ui/window_progress.h"

namespace ligamor {

// The maker's telephone number in the banner; a deployment value.
inline constexpr const char* kMakerPhone = "(51) 0000-0000";

// "VELDOR SISTEMAS (51) 0000-0000 - Ligamor PAF-ECF"
QString MakerBanner();

class Tfrmmain : public QMainWindow {
public:
    // temporizador must be the timer that integration drives.
    // The window becomes integration's progress hook.
    Tfrmmain(Integration& integration, QtTimer& temporizador, QWidget* parent = nullptr);
    ~Tfrmmain() override;

    QtTimer& temporizador;
    LogViewEdit* rce;
    QStatusBar* stbmain;
    QLabel* stbmainPanel;
    QProgressBar* prbCiclo;  // in the status bar, shown only while a cycle runs
    QMenu* PopupMenu1;
    QAction* Ativar1;
    QAction* Desativar1;
    QAction* N2;
    QAction* VisualizarLogs1;
    QAction* N1;
    QAction* Configuraes1;
    QAction* Fechar1;

    void FormShow();
    void temporizadorTimer();
    void Ativar1Click();
    void Desativar1Click();
    void VisualizarLogs1Click();
    void Configuraes1Click();
    void Fechar1Click();

    WindowProgress progress;

protected:
    // The first show runs FormShow before the window reaches the screen, so
    // that a message of activation comes first.
    void showEvent(QShowEvent* event) override;
    // The close button acts as "&Fechar".
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void Run(const std::function<void()>& work);
    // Runs work now, or once the running cycle has unwound.
    void AfterCycle(std::function<void()> work);
    // A cycle runs: it ends after its current line, then work runs.
    void StopCycleThen(std::function<void()> work);

    Integration& integration_;
    bool shown_ = false;
    std::vector<std::function<void()>> afterCycle_;
};

}  // namespace ligamor
