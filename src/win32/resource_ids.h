#pragma once
// Identifiers shared by ligamor.rc and the code that uses its menu and dialog.
#define IDI_LIGAMOR 1

#define IDR_POPUPMENU1 100
#define IDM_ATIVAR1 101
#define IDM_DESATIVAR1 102
#define IDM_VISUALIZARLOGS1 103
#define IDM_CONFIGURAES1 104
#define IDM_FECHAR1 105

#define IDD_FRMCONFIGURACAO 200
#define IDC_GROUPBOX1 201
#define IDC_BTNCAMINHO 206
#define IDC_BTNTESTAR 207
#define IDC_BEVEL1 220
// The fields and their labels, made from the settings keys: IDs from here on.
#define IDC_FIELDS 230
