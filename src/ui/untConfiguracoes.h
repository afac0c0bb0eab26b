#pragma once
// frmConfiguracao: the dialog that edits the settings file, picks the database
// file and tests a connection with the values on screen.
#include <QDialog>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <string>
#include <vector>

#include "db/dtmmain.h"
#include "runtime/messages.h"
#include "runtime/timer.h"

namespace ligamor {

// What the dialog works with; the main window hands over its own.
struct ConfigurationDialogServices {
    std::string settingsPath;  // the full path of ConfigLigamor.csi
    Messages& messages;
    Timer& timer;              // the polling timer: a missing file stops it
    DataModule& dtmain;        // "Testar" connects conmain itself
};

class TfrmConfiguracao : public QDialog {
public:
    explicit TfrmConfiguracao(ConfigurationDialogServices& services, QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* edtservidor;
    QLabel* Label2;
    QLineEdit* edtcaminho;
    QToolButton* btnCaminho;
    QToolButton* btnTestar;
    QLabel* Label7;
    QLineEdit* edtusuario;
    QLabel* Label8;
    QLineEdit* edtsenha;
    QLabel* Label3;
    QLineEdit* edtcaminhoenvio;
    QLabel* Label4;
    QLineEdit* edtcaminhoretorno;
    QLabel* Label5;
    QLineEdit* edtempoverificacao;
    QLabel* Label6;
    QLineEdit* edtcaminholog;
    QFrame* Bevel1;
    QPushButton* BtnOK;
    QPushButton* BtnCancelar;
    QFileDialog* OpenDlg;

    void FormShow();
    void btnTestarClick();
    void btnCaminhoClick();
    // True when the typed character may reach the field.
    static bool edtempoverificacaoKeyPress(const QString& typed);
    // The file's lines that no field shows (TRANSACAO among them): saved back.
    const std::vector<std::string>& KeptLines() const { return keptLines_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildDatabaseGroup();
    void BuildDirectoryFields();
    void BuildButtons();

    ConfigurationDialogServices& services_;
    bool shown_ = false;
    std::vector<std::string> keptLines_;
};

// Shows the dialog modally; on OK writes the settings file and gives true.
// Cancel, Escape and the close box write nothing and give false.
bool ShowConfigurationDialog(ConfigurationDialogServices& services);

// The initial texts of the directory fields, before the file is read.
QString DefaultSendDirectory();
QString DefaultResponseDirectory();

}  // namespace ligamor
