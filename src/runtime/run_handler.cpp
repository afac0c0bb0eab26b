#include "runtime/run_handler.h"

#include <exception>

#include "runtime/failures.h"

namespace ligamor {

bool RunHandler(Messages& messages, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const SilentAbort&) {
    } catch (const std::exception& e) {
        messages.ErrorReport(ErrorReportText(WholeText(e)));
    } catch (...) {
        messages.ErrorReport(ErrorReportText("Erro desconhecido"));
    }
    return false;
}

}  // namespace ligamor
