// A log that cannot be opened, made with a Linux symbolic link.
#include <gtest/gtest.h>

#include <unistd.h>

#include "text_view.h"
#include "engine/integration_log.h"
#include "runtime/failures.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

using test::TextView;

TEST(ReloadLogView, UnopenableLogEmptiesTheViewAndNamesThePath)
{
    test::TempDir dir;
    const std::string log = IntegrationLogPath(dir.Path());
    AppendToIntegrationLog(dir.Path(), {"one"});
    TextView view;
    ReloadLogView(view, log);
    // A link to itself cannot be opened, not even by root.
    ::unlink(log.c_str());
    ASSERT_EQ(::symlink(log.c_str(), log.c_str()), 0);
    try {
        ReloadLogView(view, log);
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Message(), "Cannot open file \"" + log + "\". Too many levels of symbolic links");
    }
    EXPECT_EQ(view.text, "");
}

}  // namespace
}  // namespace ligamor
