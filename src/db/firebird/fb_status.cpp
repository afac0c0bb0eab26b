#include "db/firebird/fb_status.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/blanks.h"

namespace ligamor {

namespace {

constexpr std::size_t kMaxMessage = 255;
constexpr int kExceptionSqlCode = -836;
const std::string kLineEnd = "\r\n";


// The next cluster's text into buffer, advancing cursor past it; 0 after
// the last. isc_interprete takes no buffer size: the Firebird client writes
// at most 1024 bytes and InterBase asks for 512, so it writes into a buffer
// well over both, and the text is cut as fb_interpret would cut it.
ISC_LONG Interpret(FbApi& api, char* buffer, unsigned int size, const ISC_STATUS** cursor)
{
    if (api.interpret.function) return api.interpret(buffer, size, cursor);
    char whole[8192] = {};
    // Its parameter is not const for old callers' sake; it only moves the pointer.
    const ISC_LONG length = api.interprete(whole, const_cast<ISC_STATUS**>(cursor));
    if (length <= 0 || size == 0) return length;
    const char* end = std::find(whole, whole + sizeof whole - 1, '\0');
    const std::size_t kept = std::min<std::size_t>(static_cast<std::size_t>(end - whole), size - 1);
    std::memcpy(buffer, whole, kept);
    buffer[kept] = '\0';
    return static_cast<ISC_LONG>(kept);
}

std::vector<std::string> MessageLines(FbApi& api, const ISC_STATUS* status)
{
    std::vector<std::string> lines;
    // The client moves the pointer past each cluster it reads.
    const ISC_STATUS* cursor = status;
    char buffer[1024];
    while (Interpret(api, buffer, sizeof buffer, &cursor) > 0) {
        // A cluster may hold several lines (the stack trace of procedures
        // and triggers); each becomes a line of its own.
        const std::string cluster = buffer;
        std::size_t start = 0;
        while (start <= cluster.size()) {
            std::size_t end = cluster.find_first_of("\r\n", start);
            if (end == std::string::npos) end = cluster.size();
            const std::string line = TrimBlanks(cluster.substr(start, end - start));
            const bool blankInside = line.empty() && end != cluster.size();
            if (!blankInside && (lines.empty() || lines.back() != line)) lines.push_back(line);
            start = end + 1;
        }
    }
    return lines;
}

// The text the database's exception was raised with. The clusters after
// isc_except are isc_random texts: the exception's name (Firebird 2 and
// later), then its message; the last of them is the message.
bool ExceptionMessage(const ISC_STATUS* status, std::string& message)
{
    const ISC_STATUS* p = status;
    bool inException = false;
    bool found = false;
    while (*p != isc_arg_end) {
        const ISC_STATUS kind = *p++;
        if (kind == isc_arg_gds) {
            const ISC_STATUS code = *p++;
            if (code == isc_except || code == isc_except2) {
                inException = true;
            } else if (inException && code == isc_random && *p == isc_arg_string) {
                message = reinterpret_cast<const char*>(p[1]);
                found = true;
                p += 2;
            } else if (inException) {
                break;
            }
        } else if (kind == isc_arg_cstring) {
            p += 2;
        } else {
            ++p;
        }
    }
    return found;
}

// Every isc_arg_gds code, in order: what the server refused is told by the
// codes after the first one too (a DSQL error, then why).
std::vector<long> StatusCodes(const ISC_STATUS* status)
{
    std::vector<long> codes;
    const ISC_STATUS* p = status;
    while (*p != isc_arg_end) {
        const ISC_STATUS kind = *p++;
        if (kind == isc_arg_gds) codes.push_back(static_cast<long>(*p++));
        else if (kind == isc_arg_cstring) p += 2;
        else ++p;
    }
    return codes;
}

}  // namespace

FbStatusCopy FbWithoutBlockTrace(const ISC_STATUS* status)
{
    constexpr ISC_STATUS kStackTrace = 335544842;  // isc_stack_trace
    FbStatusCopy copy;
    const ISC_STATUS* p = status;
    while (*p != isc_arg_end) {
        if (p[0] == isc_arg_gds && p[1] == kStackTrace && p[2] == isc_arg_string) {
            std::string kept;
            const std::string trace = reinterpret_cast<const char*>(p[3]);
            for (std::size_t start = 0; start < trace.size();) {
                std::size_t end = trace.find('\n', start);
                if (end == std::string::npos) end = trace.size();
                const std::string line = trace.substr(start, end - start);
                if (line.rfind("At block line:", 0) != 0) kept += (kept.empty() ? "" : "\n") + line;
                start = end + 1;
            }
            if (!kept.empty()) {
                copy.texts.push_back(kept);
                copy.words.insert(copy.words.end(), {isc_arg_gds, kStackTrace, isc_arg_string,
                                                     reinterpret_cast<ISC_STATUS>(copy.texts.back().c_str())});
            }
            p += 4;
            continue;
        }
        const std::size_t words = p[0] == isc_arg_cstring ? 3 : 2;
        copy.words.insert(copy.words.end(), p, p + words);
        p += words;
    }
    copy.words.push_back(isc_arg_end);
    return copy;
}

bool FbStatusIsError(const ISC_STATUS* status)
{
    return status[0] == 1 && status[1] > 0;
}

DatabaseFailure FbStatusFailure(FbApi& api, const ISC_STATUS* status)
{
    const long code = static_cast<long>(status[1]);
    const int sqlCode = static_cast<int>(api.sqlcode(status));
    std::vector<std::string> lines = MessageLines(api, status);
    std::string text;
    std::string exceptionText;
    if (sqlCode == kExceptionSqlCode && ExceptionMessage(status, exceptionText)) {
        text = TrimBlanks(exceptionText);
    } else {
        text = "ISC ERROR CODE:" + std::to_string(code) + kLineEnd + kLineEnd + "ISC ERROR MESSAGE:" + kLineEnd;
        for (const std::string& line : lines) text += line + kLineEnd;
    }
    if (text.size() > kMaxMessage) text.resize(kMaxMessage);
    return DatabaseFailure(text, code, StatusCodes(status));
}

void FbCheck(FbApi& api, const ISC_STATUS* status)
{
    if (FbStatusIsError(status)) throw FbStatusFailure(api, status);
}

}  // namespace ligamor
