#include "service/service.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "config/command_line.h"
#include "config/settings.h"
#include "engine/holder_control.h"
#include "engine/input_files.h"
#include "engine/integration_health.h"
#include "engine/integration_parts.h"
#include "engine/refused_files.h"
#include "engine/untfuncoes.h"
#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/instance_lock.h"
#include "runtime/run_handler.h"
#include "runtime/service_events.h"
#include "runtime/service_notify.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"
#include "service/back_off.h"
#include "service/console_messages.h"
#include "service/date_rule_notice.h"
#include "service/health_changes.h"
#include "service/settings_watch.h"

namespace ligamor {

namespace {

// The polling interval that activation and the cycle set; the service's loop
// waits for it.
class IntervalTimer : public Timer {
public:
    void SetInterval(int ms) override { interval_ = ms; }
    int Interval() const override { return interval_; }

private:
    int interval_ = 0;
};

// Between lines: keeps the watchdog fed, notes what the cycle applies, and
// stops the cycle there when a stop was asked for.
class ServiceProgress : public CycleProgress {
public:
    ServiceProgress(ServiceEvents& events, ServiceNotifier& notifier, ConsoleMessages& console)
        : events_(events), notifier_(notifier), console_(console)
    {
    }

    void LineApplied(const std::string& fileName, std::size_t done, std::size_t total) override
    {
        if (done == 0) {
            console_.WriteUtf8(Severity::Info, "Integrando " + fileName + ": " + Lines(total));
            notifier_.Status("Integrando " + fileName);
            files.push_back({fileName, 0});
        } else if (!files.empty()) {
            files.back().second = done;
        }
        notifier_.KeepAlive();
    }
    bool StopRequested() override { return events_.StopRequested(); }

    static std::string Lines(std::size_t n) { return std::to_string(n) + (n == 1 ? " linha" : " linhas"); }

    std::vector<std::pair<std::string, std::size_t>> files;  // this cycle's, with the lines applied

private:
    ServiceEvents& events_;
    ServiceNotifier& notifier_;
    ConsoleMessages& console_;
};

enum class Activation { Polling, NotConfigured, UnusableSettings, Failed, AlreadyRunning };

// What ended a wait between cycles.
enum class Wake { Timeout, Stop, Reload, SettingsChanged, Released, Control };

// How often the daemon looks at its settings file while it waits.
constexpr std::chrono::milliseconds kSettingsCheckPeriod{500};

std::string Seconds(std::chrono::milliseconds ms)
{
    std::string text = std::to_string(ms.count() / 1000);
    if (ms.count() % 1000) {
        char tenths[8];
        std::snprintf(tenths, sizeof tenths, ",%03lld", static_cast<long long>(ms.count() % 1000));
        text += tenths;
        while (text.back() == '0') text.pop_back();
    }
    return text + " s";
}

class Service {
public:
    explicit Service(const ServiceOptions& options)
        : options_(options),
          console_(clock_),
          // SIGTERM and SIGINT stop the service between lines.
          parts_({.messages = console_,
                  .timer = timer_,
                  .clock = clock_,
                  .settingsFile = options.settingsFile,
                  .takesStopSignals = true}),
          progress_(events_, notifier_, console_),
          backOff_(options.retryFirst, options.retryMost),
          watch_(options.settingsFile)
    {
        integration_.progress = &progress_;
        integration_.holderKind = options.once ? HolderKind::Unica : HolderKind::Servico;
    }

    int Run() { return options_.once ? Once() : Daemon(); }

private:
    Activation Activate()
    {
        watch_.Reading();
        const bool configured = FileExists(options_.settingsFile);
        Activation outcome = Activation::Polling;
        RunHandler(console_, [&] {
            try {
                ActivateIntegration(integration_);
            } catch (const IntegrationAlreadyRunning&) {
                outcome = Activation::AlreadyRunning;
                throw;
            } catch (const SettingsFailure&) {
                outcome = Activation::UnusableSettings;
                console_.SetDoing(SystemLogEvent::SettingsUnusable);  // the report that follows
                throw;
            } catch (...) {
                outcome = Activation::Failed;
                if (!integration_.state.connectionFailure.empty())
                    console_.WriteUtf8(Severity::Error,
                                       "Motivo: " + Utf8FromCp1252(integration_.state.connectionFailure),
                                       SystemLogEvent::ConnectionFailed);
                throw;
            }
        });
        console_.SetDoing(SystemLogEvent::Other);
        if (outcome == Activation::Polling && !configured) outcome = Activation::NotConfigured;
        return outcome;
    }

    // True when the cycle ran to its end.
    bool Cycle()
    {
        progress_.files.clear();
        console_.SetDoing(SystemLogEvent::CycleFailed);
        const bool clean = RunHandler(console_, [this] { RunIntegrationCycle(integration_, view_); });
        console_.SetDoing(SystemLogEvent::Other);
        return clean;
    }

    // Waits like events_.Wait, telling the watchdog meanwhile that all is
    // well, and, while the daemon runs, ending early when the settings file
    // changed.
    Wake Wait(std::chrono::milliseconds timeout)
    {
        using Clock = std::chrono::steady_clock;
        std::chrono::milliseconds period = notifier_.WatchdogPeriod() / 2;
        if (watching_ && (period.count() <= 0 || period > kSettingsCheckPeriod)) period = kSettingsCheckPeriod;
        const Clock::time_point end = Clock::now() + timeout;
        for (;;) {
            notifier_.KeepAlive();
            if (watching_ && watch_.Changed(integration_.quietTime)) return Wake::SettingsChanged;
            // A window beside it may switch reading off or on at any time.
            if (TakeControlRequests(integration_)) return Wake::Control;
            // Another integration's directory: taken as soon as it lets go.
            if (awaitingDirectory_ && !InstanceLock::HeldByAnyone(integration_.settings.SendDirectory +
                                                                  kSendDirectoryLockName))
                return Wake::Released;
            std::chrono::milliseconds ask = timeout;
            if (timeout.count() >= 0) {
                ask = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
                if (ask.count() <= 0) return Wake::Timeout;
            }
            const bool sliced = period.count() > 0 && (ask.count() < 0 || ask > period);
            const ServiceEvent event = events_.Wait(sliced ? period : ask);
            if (event == ServiceEvent::Stop) return Wake::Stop;
            if (event == ServiceEvent::Reload) return Wake::Reload;
        }
    }

    // SIGHUP, or a settings file that changed: the next activation reads it
    // as a new start would, no value of the old file surviving.
    void ReadSettingsAgain(Wake why)
    {
        // systemd's notify protocol: RELOADING=1 now, READY=1 once read again.
        notifier_.Reloading();
        reloading_ = true;
        Say(Severity::Info, why == Wake::SettingsChanged
                                ? "O arquivo de configurações mudou: lendo as configurações de novo."
                                : "Lendo as configurações de novo.");
        backOff_.Reset();
        parts_.settings = SystemSettings{};
    }

    // The health now; a change of its state goes to the manager once, before
    // the message that follows it.
    Health HealthNow()
    {
        Health health = IntegrationHealth(integration_);
        healthChanges_.Note(health, console_.ErrorsWritten());
        return health;
    }

    // The manager's status line starts with the health, as --status gives it.
    void Say(Severity severity, const std::string& utf8Text, SystemLogEvent event = SystemLogEvent::Other)
    {
        const Health health = HealthNow();
        console_.WriteUtf8(severity, utf8Text, event);
        notifier_.Status(HealthLine(health) + " " + utf8Text);
    }

    void ShowHealth() { notifier_.Status(HealthLine(HealthNow())); }

    // The reload is done once the settings were read again, well or not:
    // a failure is retried by the service itself, as after a start.
    void DoneReloading()
    {
        if (!reloading_) return;
        reloading_ = false;
        notifier_.Ready();
    }

    // After a failure: the next activation after the back-off. False when a
    // stop came meanwhile.
    bool WaitBeforeRetry(bool forDirectory = false)
    {
        const std::chrono::milliseconds wait = backOff_.Next();
        Say(Severity::Warning, forDirectory ? "Nova ativação em " + Seconds(wait) +
                                                  ", ou assim que a outra integração deixar o diretório de envio."
                                            : "Nova ativação em " + Seconds(wait) + ".");
        awaitingDirectory_ = forDirectory;
        const Wake wake = Wait(wait);
        awaitingDirectory_ = false;
        if (wake == Wake::Reload || wake == Wake::SettingsChanged) ReadSettingsAgain(wake);
        return wake != Wake::Stop;
    }

    void SayPolling()
    {
        const SystemSettings& s = integration_.settings;
        if (s.IntervalMs == 0)
            Say(Severity::Info, "TEMPO_COMUNICACAO é 0: a leitura dos arquivos está desligada. Altere as "
                                "configurações para ligá-la: o serviço as lê de novo quando o arquivo muda.");
        else
            Say(Severity::Info, "Integração ativa: diretório de envio " + Utf8FromLocal(s.SendDirectory) + ", a cada " +
                                    Seconds(std::chrono::milliseconds(s.IntervalMs)) + ".");
    }

    // Once per run, and again only when it changes.
    void SayDateRule()
    {
        if (!integration_.state.dateRule) return;
        const Notice notice = DateRuleNotice(*integration_.state.dateRule, integration_.regional,
                                             integration_.settings.DateFormat.value_or(""));
        if (notice.utf8Text == dateRuleSaid_) return;
        dateRuleSaid_ = notice.utf8Text;
        Say(notice.severity, notice.utf8Text);
    }

    void SayCycleDone()
    {
        if (progress_.files.empty()) return;
        std::string text = "Ciclo concluído:";
        for (std::size_t i = 0; i < progress_.files.size(); ++i)
            text += (i ? ", " : " ") + progress_.files[i].first + " (" +
                    ServiceProgress::Lines(progress_.files[i].second) + ")";
        Say(Severity::Info, text + ".", SystemLogEvent::CycleDone);
    }

    // Lines set aside or released show nowhere else on the console: it says
    // so whenever their count changes.
    void SaySetAside()
    {
        const Health health = IntegrationHealth(integration_);
        const long long lines = health.facts.setAsideLines;
        if (lines == setAsideSaid_) return;
        setAsideSaid_ = lines;
        const std::string folder = Utf8FromLocal(RefusedFolder(integration_.settings.ResponseDirectory));
        if (lines == 0) {
            Say(Severity::Info, "Nenhuma linha separada em " + folder + ".", SystemLogEvent::LinesSetAside);
            return;
        }
        Say(Severity::Warning, std::to_string(lines) + (lines == 1 ? " linha separada em " : " linhas separadas em ") +
                                   folder + "; a mais antiga: " + health.facts.oldestSetAside,
            SystemLogEvent::LinesSetAside);
    }

    // A window's "&Desativar" or "&Ativar" was followed: said once each. True
    // while reading is off, the cycle having stopped after its line or not run.
    bool SayReadingSwitched()
    {
        const bool paused = integration_.state.pausedByRequest;
        if (paused != pauseSaid_) {
            pauseSaid_ = paused;
            if (paused)
                Say(Severity::Warning, "Leitura dos arquivos desligada por " + integration_.state.health.pausedBy +
                                           " (Desativar na janela); o serviço espera um Ativar.");
            else
                Say(Severity::Info, "Leitura dos arquivos ligada de novo na janela.");
        }
        if (paused) progress_.files.clear();
        return paused;
    }

    void SayStopped()
    {
        notifier_.Stopping();
        std::string text = "Parado a pedido";
        // Per line, the lines that went in are journaled: the file goes on
        // from there; in one transaction it was undone whole.
        if (stoppedInCycle_ && !progress_.files.empty())
            text += "; " + progress_.files.back().first +
                    (integration_.settings.Transaction == TransactionMode::Arquivo
                         ? " fica no diretório de envio e será lido de novo, inteiro"
                         : " fica no diretório de envio e será lido de onde parou");
        console_.WriteUtf8(Severity::Info, text + ".", SystemLogEvent::Stopped);
    }

    int Daemon()
    {
        console_.WriteUtf8(Severity::Info, VersionLine(), SystemLogEvent::Started);
        // Ready before the first connection, which may hang until the client's
        // connect timeout on a host that does not answer: the service retries
        // by itself, there is nothing for the manager to wait for.
        notifier_.Ready();
        watching_ = true;
        bool activate = true;
        for (;;) {
            if (activate) {
                const Activation outcome = Activate();
                DoneReloading();
                if (outcome != Activation::Polling) {
                    if (!WaitBeforeRetry(outcome == Activation::AlreadyRunning)) break;
                    continue;
                }
                activate = false;
                SayDateRule();
                SayPolling();
            }
            const int interval = timer_.Interval();
            const Wake wake = Wait(interval > 0 ? std::chrono::milliseconds(interval) : kWaitForever);
            if (wake == Wake::Stop) break;
            // Said as soon as a window switched reading; off, nothing to read.
            if (wake == Wake::Control && SayReadingSwitched()) continue;
            if (wake == Wake::Reload || wake == Wake::SettingsChanged) {
                ReadSettingsAgain(wake);
                activate = true;
                continue;
            }
            const bool clean = Cycle();
            if (events_.StopRequested()) {
                stoppedInCycle_ = !clean;
                break;
            }
            if (SayReadingSwitched()) continue;
            if (clean) {
                ShowHealth();
                SayCycleDone();
                SaySetAside();
                backOff_.Reset();
                continue;
            }
            // As after "&Ativar": connected anew, the files read again whole.
            if (!WaitBeforeRetry()) break;
            activate = true;
        }
        SayStopped();
        return kExitDone;
    }

    // A file still being written is left by the cycle; one run must wait for it.
    void WaitUntilQuiet()
    {
        for (int round = 0; round < 30; ++round) {
            long long wait = 0;
            for (const InputFileRow& row : integration_.table) {
                std::string path;
                FileIdentity id;
                if (!FindInputFile(integration_.settings.SendDirectory, row.fileName, path) || !StatFile(path, id))
                    continue;
                // As the cycle counts it: a change dated in the future (another
                // computer's clock, a date after 2262) is no write going on.
                const long long quiet = std::chrono::nanoseconds(integration_.quietTime).count();
                const long long age = ElapsedNs(id.ctimeNs, WallClockNs());
                if (age >= 0 && age < quiet) wait = std::max(wait, quiet - age);
            }
            if (wait <= 0) return;
            if (Wait(std::chrono::milliseconds(wait / 1'000'000 + 1)) == Wake::Stop) return;
        }
    }

    // Input files with lines still in the send directory.
    std::vector<std::string> LeftInSendDirectory() const
    {
        std::vector<std::string> left;
        for (const InputFileRow& row : integration_.table) {
            std::string path;
            FileIdentity id;
            if (FindInputFile(integration_.settings.SendDirectory, row.fileName, path) && StatFile(path, id) &&
                id.size > 0)
                left.push_back(path);
        }
        return left;
    }

    int Once()
    {
        int status = kExitFailed;
        std::string left;
        switch (Activate()) {
        case Activation::Polling:
            SayDateRule();
            status = OnceCycle(left);
            break;
        case Activation::NotConfigured:
        case Activation::UnusableSettings: status = kExitUsage; break;
        case Activation::AlreadyRunning: return kExitAlreadyRunning;
        case Activation::Failed: break;
        }
        // A scheduled run leaves nobody holding the send directory until the
        // next one: the status file keeps what this one ended with.
        NoteOnceEnded(integration_, left);
        return status;
    }

    // The cycle of --once and its exit status; left receives the first file
    // that stayed in the send directory.
    int OnceCycle(std::string& left)
    {
        WaitUntilQuiet();
        bool failed = false;
        if (!events_.StopRequested()) {
            failed = !Cycle();
            if (!failed) SayCycleDone();
        }
        // Files with lines that are still there were not applied, whatever
        // kept them: a failure, a stop, a writer that was not done.
        for (const std::string& path : LeftInSendDirectory()) {
            const std::string said = "O arquivo " + Utf8FromLocal(path) + " ficou no diretório de envio.";
            console_.WriteUtf8(Severity::Error, said);
            if (left.empty()) left = said;
        }
        return !failed && left.empty() ? kExitDone : kExitFailed;
    }

    std::string VersionLine() const
    {
        return VersionText(FrontEnd::Service) + ": configurações em " + Utf8FromLocal(options_.settingsFile) + ".";
    }

    const ServiceOptions& options_;
    SystemClock clock_;
    ConsoleMessages console_;
    ServiceEvents events_;
    ServiceNotifier notifier_;
    HealthChanges healthChanges_{notifier_};
    IntervalTimer timer_;
    IntegrationParts parts_;
    Integration& integration_ = parts_.integration;
    ServiceProgress progress_;
    long long setAsideSaid_ = 0;
    std::string dateRuleSaid_;
    NoLogView view_;
    BackOff backOff_;
    SettingsWatch watch_;
    bool watching_ = false;  // the daemon reads a changed settings file again; a single run does not
    bool stoppedInCycle_ = false;
    bool reloading_ = false;
    bool awaitingDirectory_ = false;  // another integration holds the send directory
    bool pauseSaid_ = false;
};

}  // namespace

int RunService(const ServiceOptions& options)
{
    Service service(options);
    return service.Run();
}

}  // namespace ligamor
