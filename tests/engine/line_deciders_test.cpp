// The small deciders of the set-aside path, each on its own: what a line
// names and needs, whether a failure is the line's own, and which boxes the
// message gate lets through.
#include <gtest/gtest.h>

#include "engine/line_keys.h"
#include "engine/line_refusal.h"
#include "engine/record_kinds.h"
#include "runtime/failures.h"
#include "runtime/messages.h"
#include "runtime/text1252.h"
#include "support/recording_seams.h"

namespace ligamor::test {
namespace {

std::size_t Row(RecordKindId id)
{
    return static_cast<std::size_t>(id);
}

TEST(LineKeys, EachKindNamesItsRecordAndWhatItNeeds)
{
    using K = RecordKindId;
    struct Case {
        K kind;
        std::string line;
        std::string own;
        std::vector<std::string> needs;
    };
    const std::vector<Case> cases = {
        {K::Cliente, "I#25#MERCADO#M#RUA#CP#B#C#SP#1#2#3#4#5#0", "o cliente 25", {}},
        {K::Cliente, "U# 25 #MERCADO", "o cliente 25", {}},  // blanks around a code do not count
        {K::Cliente, "I##MERCADO", "", {}},                  // an empty code names nothing
        {K::Produto, "I#1001#FEIJAO#T1#10#UN#8,20#12,90", "o produto 1001", {}},
        {K::PreVenda, "I#70#55##25#05/03/2026#10/03/2026#10", "a pré-venda 70", {"o cliente 25"}},
        {K::PreVenda, "I#70#55###05/03/2026#10/03/2026#10", "a pré-venda 70", {}},
        {K::ItemPreVenda, "I#70#1#1001#2,5#4,10#10,25", "o item 1 da pré-venda 70", {"a pré-venda 70", "o produto 1001"}},
        {K::ItemPreVenda, "I#70##1001#2,5#4,10#10,25", "", {"a pré-venda 70", "o produto 1001"}},
        {K::ItemPreVenda, "I##1##2,5#4,10#10,25", "", {}},
    };
    for (const Case& c : cases) {
        const LineKeys keys = KeysOfLine(Row(c.kind), Cp1252(c.line));
        EXPECT_EQ(keys.own, c.own) << c.line;
        EXPECT_EQ(keys.needs, c.needs) << c.line;
    }
    EXPECT_EQ(KeysOfLine(kRecordKindCount, "I#1").own, "");  // no such kind
    EXPECT_EQ(WaitingFor("a pré-venda 70"), "aguardando a pré-venda 70");
}

std::optional<std::string> ReasonOf(const std::exception_ptr& failure)
{
    return LineRefusalReason(failure);
}

TEST(LineRefusal, TheLinesOwnFailuresAndTheCyclesOnes)
{
    const std::string message = "ISC ERROR CODE:335544665\r\nISC ERROR MESSAGE:\r\nviolation of PRIMARY or UNIQUE "
                                "KEY constraint \"PK\"\r\non table \"CLIENTE\"";
    struct Case {
        const char* what;
        std::vector<long> codes;
        bool ownFailure;
    };
    const std::vector<Case> cases = {
        {"a unique key", {335544665, 335544347}, true},
        {"a foreign key", {335544466}, true},
        {"a conversion after a dynamic SQL error", {335544569, 335544334}, true},
        {"a string too long", {335544321, 335544914}, true},
        {"an empty number leaves a gap", {335544569, 335544634}, true},
        {"a trigger's exception", {335544517}, true},
        {"a lock conflict beside a constraint", {335544345, 335544665}, false},
        {"a deadlock", {335544336}, false},
        {"an update conflict", {335544451, 335544336}, false},
        {"a lost connection", {335544721}, false},
        {"a shut down database", {335544528}, false},
        {"no code at all", {}, false},
    };
    for (const Case& c : cases) {
        const long first = c.codes.empty() ? 0 : c.codes.front();
        const auto reason = ReasonOf(std::make_exception_ptr(DatabaseFailure(message, first, c.codes)));
        EXPECT_EQ(reason.has_value(), c.ownFailure) << c.what;
        if (reason) {
            EXPECT_EQ(*reason, "recusada pelo banco de dados: violation of PRIMARY or UNIQUE KEY constraint \"PK\" "
                               "on table \"CLIENTE\"");
        }
    }
    RecordRefused refused;
    refused.text = Cp1252("O campo Tipo Cpf fora dos padrões. ");
    EXPECT_EQ(ReasonOf(std::make_exception_ptr(refused)), "O campo Tipo Cpf fora dos padrões.");
    EXPECT_EQ(ReasonOf(std::make_exception_ptr(InvalidDate("31/02/2026"))), "'31/02/2026' is not a valid date");
    EXPECT_EQ(ReasonOf(std::make_exception_ptr(IoFailure(5, "File access denied"))), std::nullopt);
    EXPECT_EQ(ReasonOf(std::make_exception_ptr(SilentAbort{})), std::nullopt);
}

TEST(MessageGate, HoldsNestShowInOrderAndDropOnlyTheirOwn)
{
    RecordingMessages shown;
    MessageGate gate{shown};
    gate.InformationBox("passes");
    {
        HeldMessages cycle(&gate);
        gate.ErrorBox("first line");
        {
            HeldMessages line(&gate);
            gate.InformationBox("set aside");
            line.Drop();
        }
        {
            HeldMessages line(&gate);
            gate.PlainMessage("stops the cycle");
        }  // left without a word: its boxes go to the cycle's hold
        EXPECT_EQ(shown.shown.size(), 1u);  // nothing shown while the cycle holds
        cycle.Show();
        cycle.Show();  // once only
    }
    ASSERT_EQ(shown.shown.size(), 3u);
    EXPECT_EQ(shown.shown[1].text, "first line");
    EXPECT_EQ(shown.shown[2].text, "stops the cycle");
    EXPECT_FALSE(gate.Holding());
    gate.ErrorReport("after");
    EXPECT_EQ(shown.shown.size(), 4u);

    HeldMessages none(nullptr);  // no gate: nothing to hold
    none.Show();
    none.Drop();
}

}  // namespace
}  // namespace ligamor::test
