// Our own record files (.ligamor.aplicados, .ligamor.separadas) and the status
// file. Any bytes: read, and then written back byte for byte (the status file:
// the same once written), or refused as cut or damaged naming the file, never
// anything else. Records made up: read back equal, in the released shape too;
// every shorter file is refused as cut, and one changed byte never passes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <functional>
#include <string>

#include "engine/applied_not_moved.h"
#include "engine/health.h"
#include "engine/record_file.h"
#include "engine/set_aside_claims.h"
#include "fuzz_support.h"
#include "runtime/blanks.h"

using namespace ligamor;

namespace {

const std::string kPath = "/loja/ENVIO/.ligamor";

// The bytes read and written again; false when refused as it must be.
using Format = std::function<bool(const std::string& bytes, std::string& written)>;

template <typename Parse, typename Text>
Format FormatOf(Parse parse, Text text)
{
    return [parse, text](const std::string& bytes, std::string& written) {
        try {
            written = text(parse(bytes, kPath));
            return true;
        } catch (const RecordFileFailure& f) {
            FUZZ_EXPECT(f.Line() >= 1);
            FUZZ_EXPECT(f.Message().find("\"" + kPath + "\"") != std::string::npos);
            return false;
        }
    };
}

const Format kApplied = FormatOf(ParseAppliedNotMoved, AppliedNotMovedText);
const Format kClaims = FormatOf(ParseSetAsideClaims, SetAsideClaimsText);
const Format kStatus = FormatOf(ParseHealthFacts, HealthFactsText);

std::string Hex(const std::string& bytes)
{
    std::string out = "x";
    for (const unsigned char b : bytes) out += "0123456789abcdef"[b >> 4], out += "0123456789abcdef"[b & 15];
    return out;
}

std::string Path(FuzzedDataProvider& in)
{
    std::string path = in.ConsumeRandomLengthString(40);
    std::erase_if(path, [](char c) { return c == '\r' || c == '\n'; });
    return path.empty() ? "/p" : path;
}

FileIdentity Identity(FuzzedDataProvider& in)
{
    FileIdentity id;
    id.device = in.ConsumeIntegral<std::uint64_t>();
    id.inode = in.ConsumeIntegral<std::uint64_t>();
    id.size = in.ConsumeIntegralInRange<std::int64_t>(0, INT64_MAX);
    id.mtimeNs = in.ConsumeIntegral<long long>();
    id.ctimeNs = in.ConsumeIntegral<long long>();
    return id;
}

// Whatever the writer made: read back as written; every shorter file is cut;
// a changed byte is refused.
void Written(FuzzedDataProvider& in, const std::string& bytes, const Format& format)
{
    std::string again;
    FUZZ_EXPECT(format(bytes, again) && again == bytes);
    const std::size_t cut = in.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - 1);
    std::string shorter;
    FUZZ_EXPECT(!format(bytes.substr(0, cut), shorter));
    std::string changed = bytes;
    const std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - 1);
    changed[at] = static_cast<char>(changed[at] ^ in.ConsumeIntegralInRange<int>(1, 255));
    FUZZ_EXPECT(!format(changed, again));
}

void MadeUpApplied(FuzzedDataProvider& in)
{
    ReadInputFiles files;
    std::string released;
    while (files.size() < 5 && in.ConsumeBool()) {
        ReadInputFile f{in.ConsumeIntegralInRange<std::size_t>(0, 3), Path(in), Identity(in)};
        const FileIdentity& id = f.identity;
        released += std::to_string(f.row) + " " + std::to_string(id.device) + " " + std::to_string(id.inode) + " " +
                    std::to_string(id.size) + " " + std::to_string(id.mtimeNs) + " " + std::to_string(id.ctimeNs) +
                    " " + f.path + "\r\n";
        files.push_back(f);
    }
    const std::string bytes = AppliedNotMovedText(files);
    Written(in, bytes, kApplied);
    if (!released.empty()) {
        std::string again;
        FUZZ_EXPECT(kApplied(released, again) && again == bytes);
    }
}

void MadeUpClaims(FuzzedDataProvider& in)
{
    std::vector<SetAsideClaim> claims;
    std::string released;
    while (claims.size() < 5 && in.ConsumeBool()) {
        SetAsideClaim c;
        c.row = in.ConsumeIntegralInRange<std::size_t>(0, 3);
        c.inFolder = in.ConsumeBool();
        c.line.lineNumber = in.ConsumeIntegralInRange<long long>(1, INT64_MAX);
        c.input = Identity(in);
        c.input.size = c.input.mtimeNs = c.input.ctimeNs = 0;  // the device and inode alone are kept
        c.folderBefore = Identity(in);
        c.line.bytes = in.ConsumeRandomLengthString(60);
        c.line.fromFile = in.ConsumeRandomLengthString(30);
        c.line.since = in.ConsumeRandomLengthString(20);
        c.line.reason = in.ConsumeRandomLengthString(60);
        c.path = Path(in);
        const FileIdentity& id = c.folderBefore;
        released += std::to_string(c.row) + " " + (c.inFolder ? "1" : "0") + " " + std::to_string(c.line.lineNumber) +
                    " " + std::to_string(c.input.device) + " " + std::to_string(c.input.inode) + " " +
                    std::to_string(id.device) + " " + std::to_string(id.inode) + " " + std::to_string(id.size) + " " +
                    std::to_string(id.mtimeNs) + " " + std::to_string(id.ctimeNs) + " " + Hex(c.line.bytes) + " " +
                    Hex(c.line.fromFile) + " " + Hex(c.line.since) + " " + Hex(c.line.reason) + " " + c.path + "\r\n";
        claims.push_back(c);
    }
    const std::string bytes = SetAsideClaimsText(claims);
    Written(in, bytes, kClaims);
    FUZZ_EXPECT(ParseSetAsideClaims(bytes, kPath) == claims);
    if (!released.empty()) FUZZ_EXPECT(ParseSetAsideClaims(released, kPath) == claims);
}

void MadeUpStatus(FuzzedDataProvider& in)
{
    HealthFacts facts;
    facts.polling = in.ConsumeBool();
    facts.intervalMs = in.ConsumeIntegral<std::int32_t>();
    facts.activatedNs = in.ConsumeIntegral<long long>();
    facts.lastCycleEndNs = in.ConsumeIntegral<long long>();
    facts.failure = in.ConsumeRandomLengthString(80);
    facts.setAsideLines = in.ConsumeIntegralInRange<long long>(0, INT64_MAX);
    facts.oldestSetAside = in.ConsumeRandomLengthString(80);
    facts.switchedOff = static_cast<PollingOff>(in.ConsumeIntegralInRange<int>(0, 2));
    facts.onceEndedNs = in.ConsumeIntegral<long long>();
    const std::string bytes = HealthFactsText(facts);
    Written(in, bytes, kStatus);
    // Its texts as one line each, the rest as they were.
    HealthFacts told = facts;
    told.failure = InOneLine(facts.failure);
    told.oldestSetAside = InOneLine(facts.oldestSetAside);
    FUZZ_EXPECT(ParseHealthFacts(bytes, kPath) == told);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    FuzzedDataProvider in(data + 1, size - 1);
    switch (data[0] % 4) {
    case 0: {
        // Any bytes, as a damaged disk or a person may leave them.
        const std::string bytes = in.ConsumeRemainingBytesAsString();
        std::string whole = bytes;  // zero bytes after the end are no part of it
        while (!whole.empty() && whole.back() == '\0') whole.pop_back();
        std::string written, again;
        for (const Format* format : {&kApplied, &kClaims}) {
            if (!(*format)(bytes, written)) continue;
            FUZZ_EXPECT(bytes.rfind("ligamor ", 0) != 0 || written == whole);
            FUZZ_EXPECT((*format)(written, again) && again == written);
        }
        if (kStatus(bytes, written)) FUZZ_EXPECT(kStatus(written, again) && again == written);
        break;
    }
    case 1: MadeUpApplied(in); break;
    case 2: MadeUpClaims(in); break;
    default: MadeUpStatus(in); break;
    }
    return 0;
}
