// An input file as the point of sale may leave it (any bytes, LF or CR LF, a
// Ctrl-Z, no last line end) read by the cycle: every line handed to its
// processor once, in order, counted as the progress bar counts it, and one
// log text each.
#include <cstdint>
#include <string>

#include "engine/cycle_progress.h"
#include "engine/input_files.h"
#include "engine/integration_log.h"
#include "fuzz_support.h"
#include "runtime/text_file.h"

using namespace ligamor;

namespace {

class Counted : public CycleProgress {
public:
    void LineApplied(const std::string& fileName, std::size_t done, std::size_t total) override
    {
        FUZZ_EXPECT(fileName == "PRODUTO.TXT");
        FUZZ_EXPECT(done == calls++);
        totals.push_back(total);
    }
    bool StopRequested() override { return false; }
    std::size_t calls = 0;
    std::vector<std::size_t> totals;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string folder = ligamor::fuzz::ScratchFolder();
    const std::string path = folder + "PRODUTO.TXT";
    fuzz::WriteFile(path, bytes);
    RemoveFileIfPresent(IntegrationLogPath(folder));

    std::vector<std::string> handed;
    const RecordProcessor processor = [&handed](const std::string& line) {
        handed.push_back(line);
        return std::to_string(handed.size()) + "|" + line;
    };
    Counted progress;
    FileIdentity identity;
    const bool any = ProcessInputFile({path, processor, folder, &progress, "PRODUTO.TXT"}, {}, identity);

    const std::vector<std::string> lines = fuzz::ModelLines(bytes);
    FUZZ_EXPECT(handed == lines);
    FUZZ_EXPECT(any == !lines.empty());
    FUZZ_EXPECT(identity.size == static_cast<std::int64_t>(size));
    // Counted first by the same rules: the bar's total is the real one.
    FUZZ_EXPECT(progress.calls == lines.size() + 1);
    for (const std::size_t total : progress.totals) FUZZ_EXPECT(total == lines.size());
    std::string log;
    for (std::size_t i = 0; i < lines.size(); ++i) log += std::to_string(i + 1) + "|" + lines[i] + "\r\n";
    FUZZ_EXPECT(fuzz::ReadFile(IntegrationLogPath(folder)) == log);
    return 0;
}
