#pragma once
// The parameter blocks of attachments and transactions: a version byte, then
// for each item its tag, a length byte and the value's bytes.
#include <string>

namespace ligamor {

class FbParameterBlock {
public:
    explicit FbParameterBlock(char version) : bytes_(1, version) {}
    // A tag without a value (the transaction items).
    FbParameterBlock& Add(char tag);
    // A tag with its value; a value over 255 bytes raises a DatabaseFailure.
    FbParameterBlock& Add(char tag, const std::string& value);
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// isc_dpb_version1, the user name without leading and trailing blanks, the
// password unchanged; ISC_USER / ISC_PASSWORD stand in for an empty value and
// an item still empty is left out. A connection character set, when given,
// follows as isc_dpb_lc_ctype.
std::string AttachmentParameters(const std::string& userName, const std::string& password,
                                 const std::string& charset = "");

// isc_tpb_version3, write, read committed, record versions, no wait.
std::string TransactionParameters();

}  // namespace ligamor
