#pragma once
// One struct per kind of input line, its fields named after the columns they
// fill. The record processors build them from a line's fields; the record
// transactions take them whole.
#include <string>

namespace ligamor {

// A customer for CLIENTE.
struct ClienteRecord {
    std::string CDCLIENTE, NMCLIENTE, RZSOCIAL, DSENDERECO, NUCXPOSTAL, NMBAIRRO, NMCIDADE, CDUF, NUCEP;
    std::string NUFONE1;
    std::string NUFONE2;  // no field of the line fills it: inserted empty
    std::string NUFONE3;  // the line's second phone (deliberately this column)
    std::string NUIDENTID, NUCPF, VLLIMITE;
};

// A product for DETALHE.
struct DetalheRecord {
    std::string CDDETALHE, NMDETALHE;
    std::string CDALIQUOTA;  // insert: the tax rate's name; update: its code
    std::string QTESTOQUE;
    std::string CDUNIDADE;      // insert: the unit's short name; update: its code
    std::string CDALTERNATIVO;  // update: blank takes CDDETALHE
    std::string VLCOMPRA, VLVENDA;
};

// A pre-sale header for PEDIDOCOMPRACLIENTE.
struct PreVendaRecord {
    std::string CDPEDIDOCOMPRACLIENTE, NUDAV, NUPREVENDA, CDCLIENTE;
    std::string DTEMISSAO, DTPREVENTREGA;  // in the regional short date format
    std::string VLTOTAL;
};

// A pre-sale item for ITPEDIDOCOMPRACLIENTE.
struct ItemPreVendaRecord {
    std::string CDPEDIDOCOMPRACLIENTE, NUITPEDIDOCOMPRACLIENTE, CDDETALHE, QTITEM, VLUNITARIO, VLTOTAL;
};

}  // namespace ligamor
