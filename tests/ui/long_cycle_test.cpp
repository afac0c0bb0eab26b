// A cycle long enough for many turns of the event loop, through the window:
// what it shows meanwhile, and what the menu does while it runs.
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <map>
#include <set>

#include "engine/integration_log.h"
#include "runtime/text1252.h"
#include "ui/log_view_edit.h"
#include "ui/text_codec.h"
#include "ui/untmain.h"
#include "ui_fixture.h"

namespace ligamor::test {
namespace {

constexpr std::size_t kLines = 30;
constexpr std::size_t kStopAfter = 5;
const char* kSeed = "insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1'); commit;";

std::string Catalogue(std::size_t count = kLines)
{
    std::string lines;
    for (std::size_t k = 1; k <= count; ++k)
        lines += "I#" + std::to_string(k) + "#PRODUTO " + std::to_string(k) + "#T1#10,5#UN#8,20#12,90\r\n";
    return lines;
}

// What a cycle leaves for the user and the shop to see.
struct Outcome {
    std::string rows;  // every product stored, as one text
    std::string log;
    std::set<std::string> moved;
    bool operator==(const Outcome&) const = default;
};

Outcome Read(DataModule& dtmain, const std::string& folder)
{
    const std::string log = IntegrationLogPath(folder + "LOG/");
    return {OpenQuery(dtmain, "SELECT CAST(LIST(CDDETALHE || '|' || NMDETALHE || '|' || QTESTOQUE || '|' || VLVENDA, ';') "
                              "AS VARCHAR(8000)) FROM (SELECT * FROM DETALHE ORDER BY CDDETALHE)")
                ->FirstAsText(),
            std::filesystem::exists(log) ? ReadBytes(log) : "", ListDir(folder + "RESPOSTA/")};
}

// The catalogue through a cycle without a window, on a database of its own:
// what a cycle did before it reported its progress.
Outcome WithoutProgress()
{
    TempDir other;
    const std::string database = CreateShopDatabase(other.Path());
    RunIsql(database, kSeed);
    RecordingMessages messages;
    FakeTimer timer;
    FixedClock clock;
    FbClientLoader loader;
    DataModule dtmain{loader};
    ConnectDatabase(dtmain, database, "SYSDBA", "masterkey");
    SystemSettings settings;
    settings.SendDirectory = other / "ENVIO/";
    settings.ResponseDirectory = other / "RESPOSTA/";
    settings.LogDirectory = other / "LOG/";
    settings.IntervalMs = 600000;
    for (const std::string& d : {settings.SendDirectory, settings.ResponseDirectory, settings.LogDirectory})
        std::filesystem::create_directories(d);
    RecordContext records{dtmain, messages, clock, RegionalSettings{}};
    Integration integration{settings, dtmain, messages, timer, clock, RegionalSettings{}, SettingsFilePath(other.Path()),
                            StandardInputFileTable(records)};
    integration.quietTime = std::chrono::milliseconds(0);
    WriteBytes(settings.SendDirectory + "PRODUTO.TXT", Catalogue());
    LogViewEdit view;
    RunIntegrationCycle(integration, view);
    EXPECT_TRUE(messages.shown.empty());
    return Read(dtmain, other.Path());
}

// Passes each call on to the window's hook and notes what the bar shows then.
// An action for a line is posted before the window lets the event loop run,
// so it arrives as a user's click would, during that line's turn of the loop.
class Probe : public CycleProgress {
public:
    explicit Probe(Tfrmmain& window) : window_(window) {}
    void LineApplied(const std::string& fileName, std::size_t done, std::size_t total) override
    {
        if (auto action = actions.find(done); action != actions.end()) QTimer::singleShot(0, action->second);
        window_.progress.LineApplied(fileName, done, total);
        shown.push_back(window_.prbCiclo->isVisible() ? window_.prbCiclo->text() : QString());
    }
    bool StopRequested() override { return window_.progress.StopRequested(); }

    std::map<std::size_t, std::function<void()>> actions;
    QStringList shown;

private:
    Tfrmmain& window_;
};

class LongCycleTest : public UiTest {
protected:
    LongCycleTest()
    {
        RunIsql(database, kSeed);
        integration.quietTime = std::chrono::milliseconds(0);
        // Every line is shown and lets the event loop run: no test waits.
        frmmain.progress.intervals = {std::chrono::milliseconds(0), std::chrono::milliseconds(0)};
        integration.progress = &probe;
        WriteSettings();
        messages.watched = &frmmain;
        frmmain.show();
        WriteBytes(dir / "ENVIO/PRODUTO.TXT", Catalogue());
    }

    Tfrmmain frmmain{integration, timer};
    Probe probe{frmmain};
};

TEST_F(LongCycleTest, TheBarCountsTheLinesAndTheCycleEndsAsOneWithoutIt)
{
    int ticksDone = 0;
    probe.actions[3] = [&] {
        frmmain.temporizadorTimer();  // a tick that arrives while the cycle runs
        ++ticksDone;
    };
    const QString banner = frmmain.stbmainPanel->text();
    frmmain.temporizadorTimer();

    QStringList expected;
    for (std::size_t done = 0; done <= kLines; ++done) expected << FromCp1252(ProgressText("PRODUTO.TXT", done, kLines));
    EXPECT_EQ(probe.shown, expected);
    EXPECT_EQ(ticksDone, 1);
    EXPECT_TRUE(frmmain.prbCiclo->isHidden());
    EXPECT_EQ(frmmain.stbmainPanel->text(), banner);
    EXPECT_EQ(Read(dtmain, dir.Path()), WithoutProgress());
    EXPECT_EQ(frmmain.rce->toPlainText(), FromCp1252(ReadBytes(IntegrationLogPath(dir / "LOG/"))).remove('\r'));
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LongCycleTest, AtItsSizeTheWindowShowsHowFarALongCycleIs)
{
    WriteBytes(dir / "ENVIO/PRODUTO.TXT", Catalogue(20000));
    QStringList texts;
    std::vector<QImage> statusBars;
    const auto look = [&] {
        QProgressBar& bar = *frmmain.prbCiclo;
        EXPECT_TRUE(bar.isVisible());
        EXPECT_GE(bar.visibleRegion().boundingRect().width(), bar.fontMetrics().horizontalAdvance(bar.text()))
            << bar.text().toStdString();
        EXPECT_LT(frmmain.lblEstado->geometry().right(), bar.geometry().left());
        texts << bar.text();
        statusBars.push_back(frmmain.stbmain->grab().toImage());
    };
    probe.actions[3] = look;
    probe.actions[9] = look;
    probe.actions[10] = [&] { frmmain.progress.RequestStop(); };
    frmmain.temporizadorTimer();

    EXPECT_EQ(texts, (QStringList{"PRODUTO.TXT: 3 de 20.000 linhas", "PRODUTO.TXT: 9 de 20.000 linhas"}));
    ASSERT_EQ(statusBars.size(), 2u);
    EXPECT_NE(statusBars[0], statusBars[1]);
}

TEST(ProgressTextTest, ThousandsAreGroupedWithAPoint)
{
    EXPECT_EQ(ProgressText("PRODUTO.TXT", 4500, 20000), "PRODUTO.TXT: 4.500 de 20.000 linhas");
    EXPECT_EQ(ProgressText("CLIENTE.TXT", 0, 999), "CLIENTE.TXT: 0 de 999 linhas");
    EXPECT_EQ(ProgressText("ITEMPREVENDA.TXT", 99999, 1234567), "ITEMPREVENDA.TXT: 99.999 de 1.234.567 linhas");
}

// A menu command chosen while the cycle applies line kStopAfter.
struct DuringCycle {
    const char* name;
    std::function<void(Tfrmmain&)> choose;
    bool stopsTheCycle;
    std::vector<Shown> shownAfter;
    bool windowOpenAfter;
    bool pollingAfter;
    bool desativarChecked;
    bool perFile = false;  // TRANSACAO=ARQUIVO
    friend void PrintTo(const DuringCycle& row, std::ostream* out) { *out << row.name; }
};

const std::string kRestart = Cp1252("Finalize a Aplicação E Execute-a Novamente Para Aplicar A Alteração.");

const DuringCycle kDuringCycle[] = {
    {"Desativar", [](Tfrmmain& w) { w.Desativar1->trigger(); }, true, {}, true, false, true},
    {"DesativarPerFile", [](Tfrmmain& w) { w.Desativar1->trigger(); }, true, {}, true, false, true, true},
    {"Configuracoes",
     [](Tfrmmain& w) {
         OnNextModal([](QWidget* dialog) { dialog->findChild<QPushButton*>("BtnCancelar")->click(); });
         w.Configuraes1->trigger();
     },
     true, {{Shown::Information, kRestart}}, true, false, false},
    {"Fechar", [](Tfrmmain& w) { w.Fechar1->trigger(); }, true, {}, false, false, false},
    {"CloseButton", [](Tfrmmain& w) { w.close(); }, true, {}, false, false, false},
    {"Ativar", [](Tfrmmain& w) { w.Ativar1->trigger(); }, false, {}, true, true, false},
};

class MenuDuringCycleTest : public LongCycleTest, public ::testing::WithParamInterface<DuringCycle> {};

TEST_P(MenuDuringCycleTest, StopsAfterTheCurrentLineOrLetsTheCycleEndAndActsOnlyThen)
{
    const DuringCycle& row = GetParam();
    if (row.perFile) settings.Transaction = TransactionMode::Arquivo;
    const long long connection = ConnectionId();
    bool actedDuringCycle = false;
    probe.actions[kStopAfter] = [&] {
        row.choose(frmmain);
        // Nothing of the command's own work happens inside the cycle: no
        // dialog or box, no closing, no activation (which starts the timer).
        actedDuringCycle = QApplication::activeModalWidget() != nullptr || !frmmain.isVisible() ||
                           !messages.shown.empty() || timer.Running();
    };
    frmmain.temporizadorTimer();

    EXPECT_FALSE(actedDuringCycle);
    EXPECT_EQ(probe.shown.size(), (row.stopsTheCycle ? kStopAfter : kLines) + 1);
    EXPECT_EQ(messages.shown, row.shownAfter);
    EXPECT_EQ(frmmain.isVisible(), row.windowOpenAfter);
    EXPECT_EQ(timer.Running(), row.pollingAfter);
    EXPECT_EQ(frmmain.Desativar1->isChecked(), row.desativarChecked);
    EXPECT_NE(frmmain.Ativar1->isChecked(), row.desativarChecked);
    EXPECT_TRUE(frmmain.prbCiclo->isHidden());
    const Outcome after = Read(dtmain, dir.Path());
    if (row.stopsTheCycle) {
        // As a failed cycle: the lines applied stay (none in one transaction
        // per file), no log block, no move.
        EXPECT_EQ(OpenQuery(dtmain, "SELECT COUNT(*) FROM DETALHE")->FirstAsInteger(),
                  row.perFile ? 0LL : (long long)kStopAfter);
        EXPECT_EQ(after.log, "");
        EXPECT_TRUE(after.moved.empty());
        EXPECT_EQ(ReadBytes(dir / "ENVIO/PRODUTO.TXT"), Catalogue());
        EXPECT_EQ(ConnectionId(), connection);
    } else {
        EXPECT_EQ(OpenQuery(dtmain, "SELECT COUNT(*) FROM DETALHE")->FirstAsInteger(), (long long)kLines);
        EXPECT_EQ(after.moved.size(), 1u);
        EXPECT_NE(ConnectionId(), connection);  // activation ran once the cycle was over
    }
}

INSTANTIATE_TEST_SUITE_P(Menu, MenuDuringCycleTest, ::testing::ValuesIn(kDuringCycle),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ligamor::test
