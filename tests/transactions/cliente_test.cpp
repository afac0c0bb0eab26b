// The customer transaction on a real database.
#include "support/record_fixture.h"

#include "transactions/untTransCliente.h"

namespace ligamor::test {
namespace {

struct Cliente : ClienteRecord {
    Cliente()
        : ClienteRecord{.CDCLIENTE = "25",
                        .NMCLIENTE = "MERCADO BOA VISTA",
                        .RZSOCIAL = "MERCADO BOA VISTA LTDA",
                        .DSENDERECO = "RUA DAS FLORES 10",
                        .NUCXPOSTAL = "CP 12",
                        .NMBAIRRO = "CENTRO",
                        .NMCIDADE = "PORTO ALEGRE",
                        .CDUF = "RS",
                        .NUCEP = "90000000",
                        .NUFONE1 = "11",
                        .NUFONE2 = "22",
                        .NUFONE3 = "33",
                        .NUIDENTID = "44",
                        .NUCPF = "12345678000199",
                        .VLLIMITE = "1500.00"}
    {
    }
};

class ClienteTest : public RecordTest {
protected:
    void SetUp() override
    {
        RecordTest::SetUp();
        Sql("insert into UF (cduf, sguf) values (43, 'RS')");
    }
    void Insert(const Cliente& c) { InsertCliente(ctx, c); }
    void Update(const Cliente& c) { UpdateCliente(ctx, c); }
    std::string Stored(const std::string& column, const std::string& code = "25")
    {
        return Column("CLIENTE", column, "CDCLIENTE = " + code);
    }
    // Runs the call, expects the information box with the text and the abort.
    template <class F> void ExpectRefused(F call, const std::string& utf8Text)
    {
        messages.shown.clear();
        EXPECT_THROW(call(), SilentAbort);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, Shown::Information);
        EXPECT_EQ(messages.shown[0].text, Cp1252(utf8Text));
    }
};

TEST_F(ClienteTest, InsertWritesEveryColumn)
{
    Cliente c;
    Insert(c);
    EXPECT_EQ(Value("select CDSTCLIENTE || '|' || NMCLIENTE || '|' || RZSOCIAL || '|' || TPPESSOA || '|' || "
                    "DSENDERECO || '|' || NUCXPOSTAL || '|' || NMBAIRRO || '|' || NMCIDADE || '|' || CDUF || '|' || "
                    "NUCEP || '|' || NUFONE1 || '|' || NUFONE2 || '|' || NUFONE3 || '|' || NUIDENTID || '|' || "
                    "NUCPF || '|' || VLLIMITE || '|' || USUINCLUSAO || '|' || COMPINCLUSAO || '|' || "
                    "USUALTERACAO || '|' || COMPALTERACAO from CLIENTE where CDCLIENTE = 25"),
              "1|MERCADO BOA VISTA|MERCADO BOA VISTA LTDA|J|RUA DAS FLORES 10|CP 12|CENTRO|PORTO ALEGRE|43|"
              "90000000|11|22|33|44|12345678000199|1500.00|MIGRACAO|MIGRACAO|MIGRACAO|MIGRACAO");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ClienteTest, EmptyNameTakesTheLegalNameAndTheLengthGivesThePersonType)
{
    Cliente c;
    c.NMCLIENTE = "";
    c.NUCPF = "12345678901";
    Insert(c);
    EXPECT_EQ(Stored("NMCLIENTE"), "MERCADO BOA VISTA LTDA");
    EXPECT_EQ(Stored("TPPESSOA"), "F");

    c.CDCLIENTE = "26";
    c.NUCPF = "123.456.789-01";
    Insert(c);
    EXPECT_EQ(Stored("TPPESSOA", "26"), "J");

    c.NUCPF = " 12345678901";
    ExpectRefused([&] { Insert(c); }, "O campo Tipo Cpf fora dos padrões. ");
    ExpectRefused([&] { Update(c); }, "O campo Tipo Cpf fora dos padrões. ");
}

TEST_F(ClienteTest, ChecksRunInOrderWithTheirTexts)
{
    Cliente none;
    none.CDCLIENTE = "", none.RZSOCIAL = "  ", none.NUCPF = " ", none.DSENDERECO = " ", none.CDUF = "";
    const char* texts[] = {"O campo Codigo esta limpo. ", "O campo Razão Social esta limpo. ",
                           "O campo Tipo Cpf esta limpo. ", "O campo Tipo Cpf fora dos padrões. ",
                           "O campo Tipo Endereco esta limpo. ", "O campo Tipo UF esta limpo. "};
    // Each round mends the field of the previous message.
    for (int round = 0; round < 6; ++round) {
        ExpectRefused([&] { Insert(none); }, texts[round]);
        ExpectRefused([&] { Update(none); }, texts[round]);
        if (round == 0) none.CDCLIENTE = "25";
        if (round == 1) none.RZSOCIAL = "R";
        if (round == 2) none.NUCPF = "123";
        if (round == 3) none.NUCPF = "12345678901";
        if (round == 4) none.DSENDERECO = "RUA";
    }
    none.CDUF = " ";
    Insert(none);
    EXPECT_EQ(Count("CLIENTE"), 1);
}

TEST_F(ClienteTest, InsertOfAStoredCustomerUpdatesItAndKeepsPhone3AndAudit)
{
    Cliente c;
    Insert(c);
    Sql("update CLIENTE set CDSTCLIENTE = 2, USUINCLUSAO = 'ANA', USUALTERACAO = 'BIA' where CDCLIENTE = 25");
    c.NMCLIENTE = "NOVO NOME";
    c.NUFONE3 = "99";
    c.NUFONE2 = "88";
    Insert(c);
    EXPECT_EQ(Value("select NMCLIENTE || '|' || NUFONE2 || '|' || NUFONE3 || '|' || CDSTCLIENTE || '|' || "
                    "USUINCLUSAO || '|' || USUALTERACAO || '|' || COMPALTERACAO from CLIENTE"),
              "NOVO NOME|88|33|1|ANA|BIA|MIGRACAO");
    EXPECT_EQ(Count("CLIENTE"), 1);
}

TEST_F(ClienteTest, UnknownStateWritesZeroOnInsertAndUpdateOfAMissingCodeChangesNothing)
{
    Cliente c;
    c.CDUF = "XX";
    Insert(c);
    EXPECT_EQ(Stored("CDUF"), "0");

    c.CDCLIENTE = "77";
    Update(c);
    EXPECT_EQ(Count("CLIENTE"), 1);
}

TEST_F(ClienteTest, StatementTextsAreExactAndNonNumbersNeverReachTheDatabase)
{
    Cliente c;
    c.VLLIMITE = "1.500.00";
    EXPECT_THROW(Insert(c), ConversionFailure);
    ExpectOnlyPlain(CommandMessage(
            " INSERT INTO CLIENTE(CDCLIENTE, CDSTCLIENTE, NMCLIENTE, RZSOCIAL, TPPESSOA, DSENDERECO, NUCXPOST"
            "AL, NMBAIRRO, NMCIDADE, CDUF, NUCEP, NUFONE1, NUFONE2,                                    NUFONE"
            "3, NUIDENTID, NUCPF, VLLIMITE, USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO)          "
            "                                                        VALUES(25,1, 'MERCADO BOA VISTA', 'MERCA"
            "DO BOA VISTA LTDA', 'J', 'RUA DAS FLORES 10', 'CP 12', 'CENTRO', 'PORTO ALEGRE','43', '90000000'"
            ", '11', '22', '33', '44', '12345678000199', 1.500.00, 'MIGRACAO',     'MIGRACAO', 'MIGRACAO', 'M"
            "IGRACAO')                                                                                       "
            "               "));
    EXPECT_EQ(Count("CLIENTE"), 0);

    messages.shown.clear();
    c.VLLIMITE = "1500.00";
    c.CDCLIENTE = "25 OR 1=1";
    try {
        Update(c);
        ADD_FAILURE();
    } catch (const ConversionFailure& failure) {
        EXPECT_EQ(failure.Message(), NotNumericText("25 OR 1=1"));
    }
    ExpectOnlyPlain(CommandMessage(
            " UPDATE CLIENTE                                   SET                                           "
            "   CDSTCLIENTE =  1,                                NMCLIENTE   =  'MERCADO BOA VISTA',         "
            "           RZSOCIAL    =  'MERCADO BOA VISTA LTDA',             TPPESSOA    =  'J',             "
            " DSENDERECO  =  'RUA DAS FLORES 10',              NUCXPOSTAL  =  'CP 12',                  NMBAI"
            "RRO    =  'CENTRO',                  NMCIDADE    =  'PORTO ALEGRE',                  CDUF       "
            " =  '43',                      NUCEP       =  '90000000',                     NUFONE1     =  '11"
            "',                   NUFONE2     =  '22',                   NUIDENTID   =  '44',              NU"
            "CPF       =  '12345678000199',                     VLLIMITE    =  1500.00                     WH"
            "ERE CDCLIENTE = 25 OR 1=1                   "));
}

TEST_F(ClienteTest, NamesWithQuotesAreStoredAsWritten)
{
    Sql("insert into UF (cduf, sguf) values (35, '''P')");
    Cliente c;
    c.NMCLIENTE = "O'NEIL";
    c.RZSOCIAL = Cp1252("D'ÁVILA & O'NEIL LTDA");
    c.NMCIDADE = Cp1252("SANTA BÁRBARA D'OESTE");
    c.CDUF = "'P";
    Insert(c);
    EXPECT_EQ(Stored("NMCLIENTE"), "O'NEIL");
    EXPECT_EQ(Stored("RZSOCIAL"), Cp1252("D'ÁVILA & O'NEIL LTDA"));
    EXPECT_EQ(Stored("CDUF"), "35");

    c.NMCLIENTE = "D'ARC";
    c.NMBAIRRO = "'";
    Update(c);
    EXPECT_EQ(Stored("NMCLIENTE"), "D'ARC");
    EXPECT_EQ(Stored("NMBAIRRO"), "'");
    EXPECT_EQ(Stored("NMCIDADE"), Cp1252("SANTA BÁRBARA D'OESTE"));
    EXPECT_EQ(Stored("CDUF"), "35");
    EXPECT_TRUE(messages.shown.empty());
}

// Newer shop databases default to UTF8: the attachment then names WIN1252 and
// Firebird stores the characters, not the raw bytes.
TEST_F(ClienteTest, AccentedNamesReachAUtf8DatabaseAsTheirCharacters)
{
    const std::string utf8Database = CreateShopDatabase(folder_->Path(), "LOJA_UTF8.FDB", "UTF8");
    ConnectDatabase(dtmain, utf8Database, "SYSDBA", "");
    Sql("insert into UF (cduf, sguf) values (43, 'RS')");
    Cliente c;
    c.RZSOCIAL = Cp1252("JOÃO D'ÁVILA COMÉRCIO LTDA");
    Insert(c);
    dtmain.conmain.Disconnect();
    // isql-fb names no character set either: it gets the column's own UTF-8
    // bytes. 26 characters, three of them two bytes long.
    EXPECT_EQ(ReadValue(utf8Database, "select RZSOCIAL || '|' || CHAR_LENGTH(RZSOCIAL) || '/' || "
                                      "OCTET_LENGTH(RZSOCIAL) from CLIENTE where CDCLIENTE = 25"),
              "JOÃO D'ÁVILA COMÉRCIO LTDA|26/29");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ClienteTest, AnUpdateWithAnUnknownStateWritesEmptyText)
{
    Cliente c;
    Insert(c);
    c.CDUF = "XX";
    Update(c);
    EXPECT_EQ(Stored("'[' || CDUF || ']'"), "[]");
}

TEST_F(ClienteTest, TheUpdateStatementTextIsExact)
{
    Cliente c;
    Insert(c);
    c.NMCLIENTE = std::string(101, 'N');  // longer than the column: the database refuses it
    EXPECT_THROW(Update(c), DatabaseFailure);
    ExpectOnlyPlain(CommandMessage(
            " UPDATE CLIENTE                                   SET                                           "
            "   CDSTCLIENTE =  1,                                NMCLIENTE   =  'NNNNNNNNNNNNNNNNNNNNNNNNNNNN"
            "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN',                    R"
            "ZSOCIAL    =  'MERCADO BOA VISTA LTDA',             TPPESSOA    =  'J',              DSENDERECO "
            " =  'RUA DAS FLORES 10',              NUCXPOSTAL  =  'CP 12',                  NMBAIRRO    =  'C"
            "ENTRO',                  NMCIDADE    =  'PORTO ALEGRE',                  CDUF        =  '43',   "
            "                   NUCEP       =  '90000000',                     NUFONE1     =  '11',          "
            "         NUFONE2     =  '22',                   NUIDENTID   =  '44',              NUCPF       = "
            " '12345678000199',                     VLLIMITE    =  1500.00                     WHERE CDCLIENT"
            "E = 25                   "));
    EXPECT_EQ(Stored("NMCLIENTE"), "MERCADO BOA VISTA");
}

}  // namespace
}  // namespace ligamor::test
