#include "db/firebird/fb_params.h"

#include <ibase.h>

#include <cstdlib>

#include "runtime/blanks.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"

namespace ligamor {

namespace {

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

FbParameterBlock& FbParameterBlock::Add(char tag)
{
    bytes_ += tag;
    return *this;
}

FbParameterBlock& FbParameterBlock::Add(char tag, const std::string& value)
{
    if (value.size() > 255)
        throw DatabaseFailure(Cp1252("Parâmetro de conexão com mais de 255 caracteres"));
    bytes_ += tag;
    bytes_ += static_cast<char>(value.size());
    bytes_ += value;
    return *this;
}

std::string AttachmentParameters(const std::string& userName, const std::string& password,
                                 const std::string& charset)
{
    std::string user = TrimBlanks(userName);
    if (user.empty()) user = TrimBlanks(EnvironmentValue("ISC_USER"));
    std::string secret = password;
    if (secret.empty()) secret = EnvironmentValue("ISC_PASSWORD");

    FbParameterBlock dpb(isc_dpb_version1);
    if (!user.empty()) dpb.Add(isc_dpb_user_name, user);
    if (!secret.empty()) dpb.Add(isc_dpb_password, secret);
    if (!charset.empty()) dpb.Add(isc_dpb_lc_ctype, charset);
    return dpb.Bytes();
}

std::string TransactionParameters()
{
    FbParameterBlock tpb(isc_tpb_version3);
    tpb.Add(isc_tpb_write).Add(isc_tpb_read_committed).Add(isc_tpb_rec_version).Add(isc_tpb_nowait);
    return tpb.Bytes();
}

}  // namespace ligamor
