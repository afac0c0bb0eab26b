#include "ui/untmain.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QShowEvent>

#include "config/settings.h"
#include "ui/untConfiguracoes.h"
#include "runtime/run_handler.h"
#include "runtime/text1252.h"
#include "ui/app_icon.h"

namespace ligamor {

Tfrmmain::Tfrmmain(Integration& integration, QtTimer& timer, QWidget* parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                      Qt::WindowCloseButtonHint),
      temporizador(timer),
      rce(new LogViewEdit(this)),
      stbmain(new QStatusBar(this)),
      stbmainParts(new StatusBarParts(stbmain)),
      stbmainPanel(stbmainParts->banner),
      prbCiclo(stbmainParts->progress),
      lblEstado(stbmainParts->health),
      progress(*stbmainParts),
      integration_(integration),
      controller_(integration, *rce, *this, listen_)
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QString::fromUtf8(kWindowCaption));
    setWindowIcon(LigamorIcon());
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    rce->setObjectName(QStringLiteral("rce"));
    rce->setFixedSize(kWindowWidth, kLogViewHeight);
    rce->setFont(QFont(QStringLiteral("Arial"), 8));
    QPalette palette = rce->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    rce->setPalette(palette);
    rce->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    rce->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setCentralWidget(rce);

    stbmain->setObjectName(QStringLiteral("stbmain"));
    stbmain->setSizeGripEnabled(false);
    stbmain->setFixedHeight(kStatusBarHeight);
    stbmainParts->ShowBanner(QString::fromUtf8(MakerBanner()));
    stbmain->addWidget(stbmainParts, 1);
    setStatusBar(stbmain);
    integration_.progress = &progress;

    BuildMenu();
    rce->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(rce, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(rce->viewport()->mapToGlobal(pos)); });

    connect(&temporizador.Ticks(), &QTimer::timeout, this, &Tfrmmain::temporizadorTimer);
    connect(&listen_.Ticks(), &QTimer::timeout, this, [this] { controller_.Listen(); });

    setFixedSize(kWindowWidth, kWindowHeight);
}

void Tfrmmain::ShowHealth(HealthState state, const std::string& utf8Line)
{
    QString style;
    if (const std::optional<HealthColours> colours = HealthColoursOf(state)) {
        style = QStringLiteral("QLabel { background: #%1; color: #%2;%3 }")
                    .arg(colours->background, 6, 16, QLatin1Char('0'))
                    .arg(colours->text, 6, 16, QLatin1Char('0'))
                    .arg(colours->bold ? QStringLiteral(" font-weight: bold;") : QString());
    }
    stbmainParts->ShowHealth(QString::fromUtf8(utf8Line), style);
}

void Tfrmmain::ShowHolder(const std::string& utf8Text)
{
    stbmainParts->ShowBanner(QString::fromUtf8(utf8Text.empty() ? MakerBanner() : utf8Text), !utf8Text.empty());
}

Tfrmmain::~Tfrmmain()
{
    if (integration_.progress == &progress) integration_.progress = nullptr;
}

void Tfrmmain::BuildMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const QString& caption, void (Tfrmmain::*handler)()) {
        QAction* action = PopupMenu1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    Ativar1 = item("Ativar1", QStringLiteral("&Ativar"), &Tfrmmain::Ativar1Click);
    Ativar1->setCheckable(true);
    Ativar1->setChecked(true);
    Desativar1 = item("Desativar1", QStringLiteral("&Desativar"), &Tfrmmain::Desativar1Click);
    Desativar1->setCheckable(true);
    N2 = PopupMenu1->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    VisualizarLogs1 = item("VisualizarLogs1", QStringLiteral("Visualizar Logs"), &Tfrmmain::VisualizarLogs1Click);
    N1 = PopupMenu1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Configuraes1 = item("Configuraes1", QString::fromUtf8("&Configurações"), &Tfrmmain::Configuraes1Click);
    Fechar1 = item("Fechar1", QStringLiteral("&Fechar"), &Tfrmmain::Fechar1Click);
}

void Tfrmmain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous()) return;
    if (!centred_) {
        centred_ = true;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect area = screen->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
    FormShow();
}

void Tfrmmain::closeEvent(QCloseEvent* event)
{
    if (controller_.CloseRequested()) QMainWindow::closeEvent(event);
    else event->ignore();
}

void Tfrmmain::ShowChecks(bool ativar, bool desativar)
{
    Ativar1->setChecked(ativar);
    Desativar1->setChecked(desativar);
}

void Tfrmmain::BringToFront()
{
    show();
    raise();
    activateWindow();
}

void Tfrmmain::RunConfigurationDialog()
{
    SettingsFormServices services{integration_.settingsFile, integration_.messages, integration_.timer,
                                         integration_.dtmain};
    ShowConfigurationDialog(services);
}

void Tfrmmain::FormShow() { controller_.Shown(); }
void Tfrmmain::temporizadorTimer() { controller_.Tick(); }
void Tfrmmain::Ativar1Click() { controller_.Ativar(); }
void Tfrmmain::Desativar1Click() { controller_.Desativar(); }
void Tfrmmain::VisualizarLogs1Click() { controller_.VisualizarLogs(); }
void Tfrmmain::Configuraes1Click() { controller_.Configuracoes(); }
void Tfrmmain::Fechar1Click()
{
    // close() only hides the window and lets the event loop end once this
    // handler has returned.
    controller_.Fechar();
}

}  // namespace ligamor
