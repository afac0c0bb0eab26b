#pragma once
// The folder of refused lines (RECUSADAS=SEPARAR): beside the response
// directory, one file per input file holding its set-aside lines as the point
// of sale wrote them, so that a technician can fix a line in place, and beside
// each a readable file of why and where from.
#include <string>
#include <vector>

namespace ligamor {

inline constexpr const char* kRefusedFolderName = "RECUSADAS";

// The folder "RECUSADAS" in the folder that holds the response directory,
// ending with the separator: ".../RESPOSTA/" gives ".../RECUSADAS/".
std::string RefusedFolder(const std::string& responseDirectory);

// "CLIENTE.TXT" gives "CLIENTE_MOTIVOS.TXT".
std::string ReasonsFileName(const std::string& inputFileName);

struct RefusedLine {
    std::string bytes;     // the line as read, without terminator, Windows-1252
    std::string fromFile;  // the name its file was moved under; empty when unknown
    long long lineNumber = 0;  // its number in that file, from 1; 0 when unknown
    std::string since;     // "07/12/2026 15:30:12", when it was first set aside
    std::string reason;    // UTF-8, one line
    bool operator==(const RefusedLine&) const = default;
};

// The set-aside lines of one input file, each with its reasons' entry, found
// by the line's text (equal texts in their order), or, for a line the
// technician changed in place, between two lines found by text. A line with
// no entry has none (lineNumber 0, no reason). None when the folder has no
// such file. Raises IoFailure when a file is there but cannot be read.
// staleReasons, when given, tells whether the reasons file holds entries of
// lines no longer in the lines file (a technician deleted them).
std::vector<RefusedLine> LoadRefusedLines(const std::string& folder, const std::string& inputFileName,
                                          bool* staleReasons = nullptr);

// The reasons file always holds an entry for every line of the lines file:
// a kill between the two replacements leaves entries of lines that are not
// there (read as stale, dropped at the next write), never a line without its
// origin.

// Replaces both files whole with some of the lines they hold (those that stay
// set aside, with their reasons told anew): the lines first. No lines removes
// both, the lines first.
void SaveRefusedLines(const std::string& folder, const std::string& inputFileName,
                      const std::vector<RefusedLine>& lines);

// Adds the lines after those the files hold: the reasons first.
void AddRefusedLines(const std::string& folder, const std::string& inputFileName,
                     const std::vector<RefusedLine>& added);

// The reasons entry of a line: "Linha 3 de CLIENTE_20261207_153012.TXT,
// separada em 07/12/2026 15:30:12: <reason>", UTF-8.
std::string RefusedLineEntry(const RefusedLine& line);

}  // namespace ligamor
