#pragma once
// The log that both log-view benchmarks fill their view from.
#include <cstdio>
#include <string>

#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor::bench {

inline std::string LogLine(int n)
{
    // About 100 bytes, as the record processors write them, accents included.
    char number[16];
    std::snprintf(number, sizeof number, "%07d", n);
    return Cp1252(" INSERÇÃO - CLIENTE -  Data: 06/12/2026 Hora: 14:37:01 Código: ") + number +
           " Nome: JOAO DA SILVA LTDA\r\n";
}

// Lines first .. first + count - 1 appended to the log, a megabyte at a time,
// so that the benchmark never holds the log and the idle figure is the
// window's own; their size in bytes.
inline std::size_t WriteLines(const std::string& path, int first, int count)
{
    std::size_t written = 0;
    std::string piece;
    for (int i = first; i < first + count; ++i) {
        piece += LogLine(i);
        if (piece.size() >= (1 << 20) || i + 1 == first + count) {
            AppendToFile(path, piece);
            written += piece.size();
            piece.clear();
        }
    }
    return written;
}

}  // namespace ligamor::bench
