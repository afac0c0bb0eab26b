#include "ui/untConfiguracoes.h"

#include <QDir>
#include <QKeyEvent>
#include <QShowEvent>
#include <QStyle>
#include <QValidator>
#include <array>
#include <memory>
#include <optional>
#include <utility>

#include "config/settings.h"
#include "runtime/failures.h"
#include "runtime/run_handler.h"
#include "runtime/text1252.h"
#include "ui/text_codec.h"

namespace ligamor {

namespace {

// Letters are shown and stored in upper case, whether typed or pasted.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

// Pasted text (Ctrl+V, Shift+Insert, the context menu) never passes the key
// filter: it keeps only the digits, as typing it would.
class DigitsOnlyValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        QString digits;
        int newPos = 0;
        for (int i = 0; i < input.size(); ++i) {
            if (!input[i].isDigit() || input[i].unicode() > u'9') continue;
            digits += input[i];
            if (i < pos) ++newPos;
        }
        input = digits;
        pos = newPos;
        return Acceptable;
    }
};

// The labels were laid out for a narrow 8-point font; where the font that
// stands in for it is wider, the label is narrowed until it ends before its
// field instead of running under it.
void FitWidth(QLabel* label, int width)
{
    QFont font = label->font();
    for (int stretch = 100; label->sizeHint().width() > width && stretch > 60; stretch -= 5) {
        font.setStretch(stretch - 5);
        label->setFont(font);
    }
    while (label->sizeHint().width() > width && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int left, int top, int fieldLeft)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    FitWidth(label, fieldLeft - left - 2);
    label->adjustSize();
    label->move(left, top);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect geometry, bool upperCase)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    if (upperCase) edit->setValidator(new UpperCaseValidator(edit));
    return edit;
}

QString TextOf(const QLineEdit* edit)
{
    return dynamic_cast<const UpperCaseValidator*>(edit->validator()) ? edit->text().toUpper() : edit->text();
}

void SetField(QLineEdit* edit, const std::string& value)
{
    QString text = FromLocal(value);
    edit->setText(dynamic_cast<const UpperCaseValidator*>(edit->validator()) ? text.toUpper() : text);
}

// The directory fields keep the letter case they are given: Linux tells
// /home/loja/envio/ from /HOME/LOJA/ENVIO/, so upper-casing a typed path would
// point the integration at a directory that is not the one the user chose.
constexpr bool kDirectoryFieldsUpperCase = false;

}  // namespace

QString DefaultSendDirectory()
{
    return QDir::homePath() + QStringLiteral("/VELDOR SISTEMAS/MARBELO PAF-ECF/ENVIO/");
}

QString DefaultResponseDirectory()
{
    return QDir::homePath() + QStringLiteral("/VELDOR SISTEMAS/MARBELO PAF-ECF/RESPOSTA/");
}

TfrmConfiguracao::TfrmConfiguracao(ConfigurationDialogServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      services_(services)
{
    setObjectName(QStringLiteral("frmConfiguracao"));
    setWindowTitle(QString::fromUtf8("Configurações do Sistema"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(583, 332);

    BuildDatabaseGroup();
    BuildDirectoryFields();
    BuildButtons();

    OpenDlg = new QFileDialog(this);
    OpenDlg->setObjectName(QStringLiteral("OpenDlg"));
    OpenDlg->setOption(QFileDialog::DontUseNativeDialog);
    OpenDlg->setFileMode(QFileDialog::ExistingFile);
    OpenDlg->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDlg->setNameFilters({QStringLiteral("Banco de Dados InterBase (*.gdb)"),
                             QStringLiteral("Banco de Dados FireBird (*.fdb)")});
    OpenDlg->selectNameFilter(OpenDlg->nameFilters().first());

    setTabOrder(edtservidor, edtcaminho);
    setTabOrder(edtcaminho, edtusuario);
    setTabOrder(edtusuario, edtsenha);
    setTabOrder(edtsenha, edtcaminhoenvio);
    setTabOrder(edtcaminhoenvio, edtcaminhoretorno);
    setTabOrder(edtcaminhoretorno, edtempoverificacao);
    setTabOrder(edtempoverificacao, edtcaminholog);
    setTabOrder(edtcaminholog, BtnOK);
    setTabOrder(BtnOK, BtnCancelar);
}

void TfrmConfiguracao::BuildDatabaseGroup()
{
    GroupBox1 = new QGroupBox(QString::fromUtf8(" Configurações do Banco de Dados: "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(0, 2, 583, 135);
    QWidget* g = GroupBox1;
    Label1 = MakeLabel(g, "Label1", "Servidor.....:", 24, 32, 80);
    edtservidor = MakeEdit(g, "edtservidor", {80, 24, 145, 21}, true);
    Label2 = MakeLabel(g, "Label2", "Caminho....:", 24, 60, 80);
    edtcaminho = MakeEdit(g, "edtcaminho", {80, 52, 377, 21}, false);

    btnCaminho = new QToolButton(g);
    btnCaminho->setObjectName(QStringLiteral("btnCaminho"));
    btnCaminho->setText(QStringLiteral("..."));
    btnCaminho->setGeometry(458, 52, 23, 19);
    btnCaminho->setFocusPolicy(Qt::NoFocus);
    connect(btnCaminho, &QToolButton::clicked, this, &TfrmConfiguracao::btnCaminhoClick);

    btnTestar = new QToolButton(g);
    btnTestar->setObjectName(QStringLiteral("btnTestar"));
    btnTestar->setText(QStringLiteral("Testar"));
    btnTestar->setIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    btnTestar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnTestar->setAutoRaise(true);
    btnTestar->setGeometry(488, 48, 89, 32);
    btnTestar->setFocusPolicy(Qt::NoFocus);
    connect(btnTestar, &QToolButton::clicked, this, &TfrmConfiguracao::btnTestarClick);

    Label7 = MakeLabel(g, "Label7", "Usuário......:", 24, 84, 80);
    edtusuario = MakeEdit(g, "edtusuario", {80, 76, 145, 21}, false);
    Label8 = MakeLabel(g, "Label8", "Senha.......:", 24, 109, 80);
    // Shown in clear, as the file keeps it.
    edtsenha = MakeEdit(g, "edtsenha", {80, 101, 145, 21}, false);
}

void TfrmConfiguracao::BuildDirectoryFields()
{
    Label3 = MakeLabel(this, "Label3", "Diretório de Armazenamento de Arquivo de Envio..........:", 8, 152, 272);
    edtcaminhoenvio = MakeEdit(this, "edtcaminhoenvio", {272, 144, 310, 21}, kDirectoryFieldsUpperCase);
    Label4 = MakeLabel(this, "Label4", "Diretório de Armazenamento de Arquivo de Retorno......:", 8, 184, 272);
    edtcaminhoretorno = MakeEdit(this, "edtcaminhoretorno", {272, 176, 310, 21}, kDirectoryFieldsUpperCase);
    Label5 = MakeLabel(this, "Label5", "Tempo ( em MiliSegundos ) de Verificação do Diretório..:", 8, 216, 272);
    edtempoverificacao = MakeEdit(this, "edtempoverificacao", {272, 208, 73, 21}, false);
    edtempoverificacao->installEventFilter(this);
    edtempoverificacao->setValidator(new DigitsOnlyValidator(edtempoverificacao));
    Label6 = MakeLabel(this, "Label6", "Salvar Log de Transação na Pasta................................:", 8,
                       248, 272);
    edtcaminholog = MakeEdit(this, "edtcaminholog", {272, 240, 310, 21}, kDirectoryFieldsUpperCase);

    edtcaminhoenvio->setText(DefaultSendDirectory());
    edtcaminhoretorno->setText(DefaultResponseDirectory());
    edtcaminholog->setText(DefaultResponseDirectory());
    edtempoverificacao->setText(QStringLiteral("5000"));
}

void TfrmConfiguracao::BuildButtons()
{
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(0, 272, 583, 60);

    QFont buttonFont(QStringLiteral("Arial"));
    buttonFont.setPixelSize(16);
    BtnOK = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setGeometry(118, 285, 113, 33);
    BtnOK->setFont(buttonFont);
    BtnOK->setDefault(true);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);

    BtnCancelar = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                  QStringLiteral("Cancelar"), this);
    BtnCancelar->setObjectName(QStringLiteral("BtnCancelar"));
    BtnCancelar->setGeometry(334, 285, 113, 33);
    BtnCancelar->setFont(buttonFont);
    BtnCancelar->setAutoDefault(false);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmConfiguracao::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || shown_) return;
    shown_ = true;
    FormShow();
}

// Which field shows which setting.
using SettingsField = std::pair<std::string SystemSettings::*, QLineEdit* TfrmConfiguracao::*>;
const std::array<SettingsField, 8> kSettingsFields = {{
    {&SystemSettings::Server, &TfrmConfiguracao::edtservidor},
    {&SystemSettings::DatabasePath, &TfrmConfiguracao::edtcaminho},
    {&SystemSettings::UserName, &TfrmConfiguracao::edtusuario},
    {&SystemSettings::Password, &TfrmConfiguracao::edtsenha},
    {&SystemSettings::SendDirectory, &TfrmConfiguracao::edtcaminhoenvio},
    {&SystemSettings::ResponseDirectory, &TfrmConfiguracao::edtcaminhoretorno},
    {&SystemSettings::IntervalText, &TfrmConfiguracao::edtempoverificacao},
    {&SystemSettings::LogDirectory, &TfrmConfiguracao::edtcaminholog},
}};

void TfrmConfiguracao::FormShow()
{
    RunHandler(services_.messages, [this] {
        std::optional<SystemSettings> read = ReadSettingsForDialog(services_.settingsPath);
        if (!read) {
            services_.messages.InformationBox(NotConfiguredMessage());
            services_.timer.SetInterval(0);
        }
        // Without a file every field is emptied, the defaults included.
        const SystemSettings values = read.value_or(SystemSettings{});
        for (const auto& [member, field] : kSettingsFields) SetField(this->*field, values.*member);
        keptLines_ = values.OtherLines;
    });
}

void TfrmConfiguracao::btnTestarClick()
{
    RunHandler(services_.messages, [this] {
        std::string name = ComposeDatabaseName(ToLocal(TextOf(edtservidor)), ToLocal(edtcaminho->text()));
        try {
            ConnectDatabase(services_.dtmain, name, ToLocal(edtusuario->text()), ToLocal(edtsenha->text()));
            // "Coneão" is the text users know; deliberate, do not correct it.
            services_.messages.PlainMessage(Cp1252("Coneão realizada com sucesso."));
        } catch (...) {
            // The connection layer's own text is not shown here.
            services_.messages.ErrorBox(Cp1252("Erro de Conexão."));
            throw SilentAbort{};
        }
    });
}

void TfrmConfiguracao::btnCaminhoClick()
{
    RunHandler(services_.messages, [this] {
        if (OpenDlg->exec() != QDialog::Accepted) return;
        const QStringList chosen = OpenDlg->selectedFiles();
        if (chosen.isEmpty() || chosen.first().isEmpty()) return;
        edtcaminho->setText(QDir::toNativeSeparators(chosen.first()));
    });
}

bool TfrmConfiguracao::edtempoverificacaoKeyPress(const QString& typed)
{
    if (typed.isEmpty()) return true;  // a key that types nothing: arrows, Home, ...
    const char16_t c = typed.front().unicode();
    // Control characters are keys, not text: Tab and Shift+Tab move on, Escape
    // cancels, Enter confirms, Backspace and Ctrl+V edit. Only characters are
    // judged.
    return c < 0x20 || c == 127 || (c >= u'0' && c <= u'9');
}

bool TfrmConfiguracao::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtempoverificacao && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!edtempoverificacaoKeyPress(key->text())) return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool ShowConfigurationDialog(ConfigurationDialogServices& services)
{
    auto frmConfiguracao = std::make_unique<TfrmConfiguracao>(services);
    if (frmConfiguracao->exec() != QDialog::Accepted) return false;
    SystemSettings values;
    for (const auto& [member, field] : kSettingsFields) values.*member = ToLocal(TextOf((*frmConfiguracao).*field));
    values.OtherLines = frmConfiguracao->KeptLines();
    SaveSettings(services.settingsPath, values);
    return true;
}

}  // namespace ligamor
