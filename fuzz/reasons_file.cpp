// The folder of refused lines after a technician's edits: lines deleted,
// duplicated, moved, added or changed, any line ends, the reasons file left
// as saved or spoiled. Every line is read once, in order; no entry serves two
// lines; a line takes the entry of its own text first (equal texts in order),
// and another's only when no line of that text is left; saved and read again,
// nothing changes.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "engine/refused_files.h"
#include "fuzz_support.h"
#include "runtime/text1252.h"

using namespace ligamor;

namespace {

const std::string kName = "CLIENTE.TXT";

std::string LineText(FuzzedDataProvider& in)
{
    std::string text = in.ConsumeRandomLengthString(24);
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == 26; });
    return text;
}

std::vector<RefusedLine> Saved(FuzzedDataProvider& in)
{
    std::vector<RefusedLine> saved;
    while (saved.size() < 6 && in.ConsumeBool()) {
        RefusedLine line;
        line.bytes = LineText(in);
        line.lineNumber = static_cast<long long>(saved.size()) + 1;  // tells the entries apart
        line.fromFile = "CLIENTE_0" + std::to_string(in.ConsumeIntegralInRange<int>(0, 9)) + ".TXT";
        line.since = "07/12/2026 15:30:1" + std::to_string(in.ConsumeIntegralInRange<int>(0, 9));
        std::string reason = LineText(in);
        // Characters of Windows-1252 alone, as the reasons file holds them.
        std::erase_if(reason, [](char c) {
            const unsigned char b = static_cast<unsigned char>(c);
            return b < 0x20 || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        });
        line.reason = Utf8FromCp1252(reason);
        saved.push_back(line);
    }
    return saved;
}

void Edit(FuzzedDataProvider& in, std::vector<std::string>& texts)
{
    for (int n = in.ConsumeIntegralInRange<int>(0, 8); n > 0; --n) {
        const std::size_t i = in.ConsumeIntegralInRange<std::size_t>(0, texts.size());
        const std::size_t j = in.ConsumeIntegralInRange<std::size_t>(0, texts.size());
        const auto at = [&texts](std::size_t k) { return texts.begin() + static_cast<long>(k); };
        switch (in.ConsumeIntegralInRange<int>(0, 4)) {
        case 0: if (i < texts.size()) texts.erase(at(i)); break;                  // deleted
        case 1: if (i < texts.size()) texts.insert(at(j), std::string(texts[i])); break;  // duplicated
        case 2: if (i < texts.size() && j < texts.size()) std::swap(texts[i], texts[j]); break;  // moved
        case 3: texts.insert(at(i), LineText(in)); break;                          // added
        default: if (i < texts.size()) texts[i] = LineText(in); break;             // changed
        }
    }
}

std::string Written(FuzzedDataProvider& in, const std::vector<std::string>& texts)
{
    std::string bytes;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int end = in.ConsumeIntegralInRange<int>(0, 2);
        bytes += texts[i] + (end == 0 ? "\r\n" : end == 1 || i + 1 < texts.size() ? "\n" : "");
    }
    return bytes;
}

// Saved and read again, as the next cycle does: nothing moves.
void ExpectSteady(const std::string& folder, const std::vector<RefusedLine>& lines)
{
    SaveRefusedLines(folder, kName, lines);
    const std::vector<RefusedLine> once = LoadRefusedLines(folder, kName);
    SaveRefusedLines(folder, kName, once);
    FUZZ_EXPECT(LoadRefusedLines(folder, kName) == once);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string folder = fuzz::ScratchFolder();
    const bool anyBytes = in.ConsumeBool();
    std::vector<RefusedLine> saved = anyBytes ? std::vector<RefusedLine>{} : Saved(in);
    std::string linesFile;
    if (anyBytes) {
        linesFile = in.ConsumeRandomLengthString(400);
        fuzz::WriteFile(folder + kName, linesFile);
        fuzz::WriteFile(folder + ReasonsFileName(kName), in.ConsumeRemainingBytesAsString());
    } else {
        SaveRefusedLines(folder, kName, saved);
        std::vector<std::string> texts;
        for (const RefusedLine& line : saved) texts.push_back(line.bytes);
        Edit(in, texts);
        linesFile = Written(in, texts);
        fuzz::WriteFile(folder + kName, linesFile);
        if (in.ConsumeBool()) {
            std::string reasons = fuzz::ReadFile(folder + ReasonsFileName(kName));
            std::erase(reasons, '\r');
            fuzz::WriteFile(folder + ReasonsFileName(kName), reasons);
        }
    }
    const std::vector<RefusedLine> lines = LoadRefusedLines(folder, kName);

    std::vector<std::string> read;
    for (const RefusedLine& line : lines) read.push_back(line.bytes);
    FUZZ_EXPECT(read == fuzz::ModelLines(linesFile));
    if (!anyBytes) {
        // Of each text, the k-th line takes the k-th entry of that text.
        std::map<std::string, std::vector<long long>> entriesOf;
        for (const RefusedLine& line : saved) entriesOf[line.bytes].push_back(line.lineNumber);
        std::map<std::string, std::size_t> seen;
        std::set<long long> used;
        for (const RefusedLine& line : lines) {
            const std::size_t k = seen[line.bytes]++;
            const std::vector<long long>& own = entriesOf[line.bytes];
            if (k < own.size()) FUZZ_EXPECT(line.lineNumber == own[k]);
            if (line.lineNumber == 0) continue;
            FUZZ_EXPECT(used.insert(line.lineNumber).second);
            const RefusedLine& entry = saved[static_cast<std::size_t>(line.lineNumber - 1)];
            FUZZ_EXPECT(entry.reason == line.reason && entry.since == line.since && entry.fromFile == line.fromFile);
        }
        // Another text's entry only when fewer lines of that text are left.
        for (const RefusedLine& line : lines) {
            if (line.lineNumber == 0) continue;
            const std::string& text = saved[static_cast<std::size_t>(line.lineNumber - 1)].bytes;
            if (text == line.bytes) continue;
            const std::vector<long long>& of = entriesOf[text];
            const auto k = static_cast<std::size_t>(std::find(of.begin(), of.end(), line.lineNumber) - of.begin());
            FUZZ_EXPECT(k >= seen[text]);
        }
    }
    if (!lines.empty()) ExpectSteady(folder, lines);
    return 0;
}
