#include "runtime/instance_lock.h"

#include "runtime/failures.h"
#include "runtime/file_move.h"
#include "runtime/text1252.h"

namespace ligamor {

InstanceLock::~InstanceLock()
{
    Release();
}

namespace detail {

void ThrowLockFailure(LockStep step, const std::string& path, int osError)
{
    const char* what = step == LockStep::Open ? "Não foi possível abrir o arquivo de trava \""
                                              : "Não foi possível travar o arquivo \"";
    throw Failure(Cp1252(what) + Cp1252FromLocal(path) + "\": " + OsErrorReason(osError));
}

}  // namespace detail

}  // namespace ligamor
