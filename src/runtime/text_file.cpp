// The parts of the text files that are the same on every platform.
#include "runtime/text_file.h"

#include "runtime/file_move_platform.h"

namespace ligamor {

bool TextFileReader::ReadLine(std::string& line)
{
    line.clear();
    if (atEnd_) return false;
    bool any = false;
    for (;;) {
        int c = NextByte();
        if (c == EOF) {
            atEnd_ = true;
            return any;
        }
        any = true;
        if (c == '\n') return true;
        if (c == 26) {
            // Ctrl-Z ends the file; at the start of a line it is no line at all.
            atEnd_ = true;
            return !line.empty();
        }
        if (c == '\r') continue;
        line += static_cast<char>(c);
    }
}

bool FileExists(const std::string& path)
{
    FileIdentity unused;
    return StatFile(path, unused);
}

int RemoveFileIfPresent(const std::string& path)
{
    if (!FileExists(path)) return 0;
    return detail::RemoveFile(path);
}

}  // namespace ligamor
