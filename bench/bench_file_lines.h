#pragma once
// The files of the file-transaction benchmark, and the same rows as the
// INSERT statements that ligamor runs for them, for isql-fb.
// Both are written a line at a time: the benchmark's own memory must not grow
// with the file.
#include <cstdio>
#include <cstring>
#include <string>

namespace ligamor::bench {

constexpr int kItemsPerPreSale = 10;
constexpr int kProductsForItems = 1000;

// Line number `line` (from 1) of the file: products "PRODUTO k", pre-sales
// of ten items, items naming the first kProductsForItems products in turn.
// A refused line has a value the database cannot store: a product's quantity
// that is no number, an item's quantity too large for its column.
inline const char* kRefusedProductQuantity = "X";
inline const char* kRefusedItemQuantity = "99999999999999999";

inline bool IsItems(const char* file)
{
    return std::strcmp(file, "ITEMPREVENDA.TXT") == 0;
}

inline std::string FileLine(const char* file, int line, bool refused)
{
    const std::string k = std::to_string(line);
    if (std::strcmp(file, "PRODUTO.TXT") == 0)
        return "I#" + k + "#PRODUTO " + k + "#T1#" + (refused ? kRefusedProductQuantity : "10,5") +
               "#UN#8,20#12,90\r\n";
    if (std::strcmp(file, "PREVENDA.TXT") == 0) return "I#" + k + "#" + k + "##1#05/03/2024#10/03/2024#350,75\r\n";
    return "I#" + std::to_string((line - 1) / kItemsPerPreSale + 1) + "#" +
           std::to_string((line - 1) % kItemsPerPreSale + 1) + "#" +
           std::to_string((line - 1) % kProductsForItems + 1) + "#" + (refused ? kRefusedItemQuantity : "2,5") +
           "#4,10#10,25\r\n";
}

// Every refusedEvery-th line refused; 0: none.
inline bool WriteFile(const std::string& path, const char* file, int count, int refusedEvery = 0)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    for (int i = 1; i <= count; ++i) {
        const std::string line = FileLine(file, i, refusedEvery > 0 && i % refusedEvery == 0);
        std::fwrite(line.data(), 1, line.size(), out);
    }
    return std::fclose(out) == 0;
}

// The statement InsertDetalhe runs for product line `line`, the lookups'
// answers in place: the tax rate T1 is code 3, the unit UN code 0 (the
// benchmark's seed).
inline std::string ProductInsert(int line, bool refused)
{
    const std::string k = std::to_string(line);
    return " INSERT INTO DETALHE(CDDETALHE, NMDETALHE, CDALIQUOTA, QTESTOQUE, CDUNIDADE, CDTPPRODUTO,  QTESTMIN, "
           "QTESTMAX, VLCOMPRA, VLVENDA, CDPRODUTO, CDTPSEXO, USUINCLUSAO,  COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, "
           "CDFORMAPECA, CDTAMANHO, CDALTERNATIVO) VALUES(" +
           k + ", 'PRODUTO " + k + "', '3', '" + (refused ? kRefusedProductQuantity : "10.5") +
           "', 0, 1,'0', '0','8.20', '12.90', 1,1,'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 1,1,1)";
}

// The statement InsertItemPreVenda runs for item line `line`: its product's
// unit is code 0 and its alternative code 1, as the products were stored;
// today and now are the cycle's clock as SqlDate and SqlTime give it.
inline std::string ItemInsert(int line, bool refused, const std::string& today, const std::string& now)
{
    const std::string preSale = std::to_string((line - 1) / kItemsPerPreSale + 1);
    const std::string number = std::to_string((line - 1) % kItemsPerPreSale + 1);
    const std::string product = std::to_string((line - 1) % kProductsForItems + 1);
    return " INSERT INTO ITPEDIDOCOMPRACLIENTE(CDPEDIDOCOMPRACLIENTE, NUITPEDIDOCOMPRACLIENTE, CDDETALHE, CDUNIDADE, "
           "CDDIGITADO, QTITEM, VLUNITARIO, VLTOTAL,                                     USUINCLUSAO, COMPINCLUSAO, "
           "USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO,                                                      "
           "              DTALTERACAO, HRALTERACAO)                                                                  "
           "                                                 VALUES(" +
           preSale + ", " + number + ", " + product + ", 0, 1, " + (refused ? kRefusedItemQuantity : "2.5") +
           ", 4.10,                                    10.25" +
           ", 'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 'MIGRACAO', '" + today +
           "',                                                      '" + now + "', '" + today + "',  '" + now +
           "')                                                 ";
}

// The statement ligamor runs for line `line` of the file.
inline std::string Insert(const char* file, int line, bool refused, const std::string& today, const std::string& now)
{
    return IsItems(file) ? ItemInsert(line, refused, today, now) : ProductInsert(line, refused);
}

// The clean file's INSERT statements in one transaction, as an isql-fb script.
inline bool WriteIsqlScript(const std::string& path, const char* file, int count, const std::string& today,
                            const std::string& now)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fputs("SET TRANSACTION;\n", out);
    for (int i = 1; i <= count; ++i) {
        const std::string statement = Insert(file, i, false, today, now) + ";\n";
        std::fwrite(statement.data(), 1, statement.size(), out);
    }
    std::fputs("COMMIT;\n", out);
    return std::fclose(out) == 0;
}

}  // namespace ligamor::bench
