#pragma once
// What a process killed in the middle of a write leaves in our folders: the
// temporary files of our own files' replacements, of the log's spool and of a
// move's copy across volumes. A start removes them, and nothing else.
#include "config/settings.h"
#include "engine/input_file_table.h"
#include "runtime/instance_lock.h"

namespace ligamor {

// Removes, only while sendDirectoryLock holds the send directory (the holder
// alone writes there, and another integration's files in the making must
// stay), the files named as we name our temporaries: in the send directory
// those of .ligamor.aplicados, .ligamor.separadas, .ligamor.confirmacao and
// .ligamor.progresso, in the log directory
// those of EstadoLigamor.txt and the spool's, in the folder of refused lines
// those of each kind's lines and reasons files, in the response directory a
// move's copies. Never fails: a file that cannot be removed stays for the next
// start.
void SweepOurTemporaryFiles(const SystemSettings& settings, const InputFileTable& table,
                            const InstanceLock& sendDirectoryLock);

}  // namespace ligamor
