#pragma once
// Another attachment that changes rows and keeps its transaction open, as a
// point of sale in the middle of its own work; rolled back when it ends.
#include <string>

#include "db/dtmmain.h"
#include "db/firebird/fb_handles.h"

namespace ligamor::test {

class RowHeldElsewhere {
public:
    RowHeldElsewhere(const std::string& database, const std::string& update)
    {
        ConnectDatabase(other_, database, "SYSDBA", "");
        FbApi& api = other_.conmain.Api();
        holder_.Start();
        FbStatement statement(api, other_.conmain.Handle());
        statement.Prepare(holder_.Handle(), update, 3);
        statement.Execute(holder_.Handle());
    }
    ~RowHeldElsewhere()
    {
        holder_.End(FbEnd::Rollback);
        other_.conmain.Disconnect();
    }

private:
    FbClientLoader loader_;
    DataModule other_{loader_};
    FbTransaction holder_{other_.conmain.Api(), other_.conmain.Handle()};
};

}  // namespace ligamor::test
