// Numeric identifiers of the program's resources: string table entries,
// dialog templates, controls, menu commands, bitmaps and icons.
#pragma once

// Dialog templates, menu, icon, bitmap and report template.
#define IDD_MAIN 102
#define IDD_SUMMARY 130
#define IDD_PRIORITY 137
#define IDD_ABOUT 224
#define IDI_MAIN 128
#define IDR_MAIN_MENU 133
#define IDB_EYEBALL 141

// String table.
#define IDS_METRIC_FIRST 102   // 102..129: metric labels
#define IDS_QUESTION_FIRST 130 // 130..210: question texts
#define IDS_ANSWER_NONE 211
#define IDS_ANSWER_LITTLE 212
#define IDS_ANSWER_SOME 213
#define IDS_ANSWER_MOST 214
#define IDS_ANSWER_ALL 215
#define IDS_METHOD_GUESS 216
#define IDS_METHOD_ANALOGY 217
#define IDS_METHOD_PRICED_TO_WIN 218
#define IDS_METHOD_DICTATED 219
#define IDS_METHOD_TOP_DOWN 220
#define IDS_METHOD_BOTTOM_UP 221
#define IDS_METHOD_OTHER 222
#define IDS_TITLE_PREFIX 224
#define IDS_PRIORITY_TEXT 229
#define IDS_NOT_SAVED 230
#define IDS_UNKNOWN_EXTENSION 231
// 240..299: the window program's own texts beyond the dialogs (command line).

// 300..399: file-error messages.
#define IDS_FILE_ERROR_FIRST 300 // 300..313: one per CFileException::Cause, in its order
#define IDS_FILE_RECOVERY_NAME_TAKEN 314
#define IDS_FILE_TEMP_NAMES_TAKEN 315
#define IDS_FILE_WRONG_KIND 316
#define IDS_FILE_KIND_PIPE 317
#define IDS_FILE_KIND_SOCKET 318
#define IDS_FILE_KIND_TERMINAL 319
#define IDS_FILE_KIND_PROJECT 320

// 400..699: the reports' and velkor-report's texts.
// 600..659: team, sensitivity and calibrate.
#define IDS_EVIDENCE_UNDEFINED 600
#define IDS_BAND_RELIABLE 601
#define IDS_BAND_TENTATIVE 602
#define IDS_BAND_UNRELIABLE 603
#define IDS_EVIDENCE_PROBABILITY 604
#define IDS_EVIDENCE_LOWEST 605
#define IDS_EVIDENCE_HIGHEST 606
#define IDS_TEAM_HEADING 607
#define IDS_TEAM_CONSENSUS 608
#define IDS_TEAM_ALPHA 609
#define IDS_TEAM_ALPHA_INTERVAL 610
#define IDS_TEAM_ALPHA_UNDEFINED 611
#define IDS_TEAM_DISCUSS 612
#define IDS_TEAM_NOTHING_TO_DISCUSS 613
#define IDS_TEAM_SWING 614
#define IDS_TEAM_QUESTION 615
#define IDS_TEAM_FILE 616
#define IDS_TEAM_WEIGHTS 617
#define IDS_TEAM_DISTANCE 618
#define IDS_TEAM_ALPHA_WITHOUT 619
#define IDS_TEAM_TOO_FEW 620
#define IDS_TEAM_TWICE 621
#define IDS_TEAM_CONSENSUS_INPUT 622
#define IDS_SENSITIVITY_TOTAL 623
#define IDS_SENSITIVITY_UNSURE 624
#define IDS_SENSITIVITY_UNSURE_ONE 625
#define IDS_SENSITIVITY_ONE_LEVEL 626
#define IDS_SENSITIVITY_LEVELS 627
#define IDS_SENSITIVITY_SAVED 628
#define IDS_SENSITIVITY_ANSWER 629
#define IDS_SENSITIVITY_RANKED 630
#define IDS_SENSITIVITY_CHART 631
#define IDS_SENSITIVITY_CHART_AXIS 632
#define IDS_SENSITIVITY_BAD_QUESTION 633
#define IDS_CALIBRATE_ROW 634
#define IDS_CALIBRATE_OPEN_QUOTE 635
#define IDS_CALIBRATE_NO_FILE 636
#define IDS_CALIBRATE_COLUMN 637
#define IDS_CALIBRATE_TWICE 638
#define IDS_CALIBRATE_FIELDS 639
#define IDS_CALIBRATE_NO_PATH 640
#define IDS_CALIBRATE_VALUE 641
#define IDS_CALIBRATE_HEADING 642
#define IDS_CALIBRATE_SCORES 643
#define IDS_CALIBRATE_BIN 644
#define IDS_CALIBRATE_COUNT 645
#define IDS_CALIBRATE_FORECAST 646
#define IDS_CALIBRATE_OBSERVED 647
#define IDS_CALIBRATE_CATEGORY 648
#define IDS_CALIBRATE_NONE 649
#define IDS_CALIBRATE_CHART 650
#define IDS_EVIDENCE_RANGE 651

// 700..899: the analysis page's texts.
#define IDS_WEB_OUT_OF_MEMORY 700
#define IDS_WEB_READY 701
#define IDS_WEB_NOT_A_PROJECT_FOLDER 702

// Standard dialog commands.
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7
#define ID_HELP 57670

// Main window (IDD_MAIN).
#define IDC_CATEGORY_FIRST 1012 // 1012..1021, category k
#define IDC_ANSWER_FIRST 1022   // 1022..1081, row r column j: 1022 + 5r + j
#define IDC_ANSWER_LAST 1081
#define IDC_ESTIMATION_COMBO 1082
#define IDC_HEADING_FIRST 1083  // 1083..1087
#define IDC_QUESTION_FIRST 1088 // 1088..1099

// The main window's layout: a button per category, rows of questions on a
// page and answer buttons in a row.
constexpr int CATEGORY_BUTTONS = 10;
constexpr int ANSWER_ROWS = 12;
constexpr int ANSWER_COLUMNS = 5;
#define IDC_CATEGORY_SUCCESS 1103
#define IDC_PRIORITY_WEIGHTS 1121

// Summary window (IDD_SUMMARY).
#define IDC_PROJECT_COLUMN 1105
#define IDC_PHASE_COLUMN 1106
#define IDC_ACTIVITY_COLUMN 1107
// For screen readers only: each shown probability with its name, 1130..1147.
#define IDC_SUMMARY_ITEM_FIRST 1130

// Priority weights dialog (IDD_PRIORITY).
#define IDC_DEFAULT 1114
#define IDC_TECHNICAL_LABEL 1115
#define IDC_COST_LABEL 1116
#define IDC_SCHEDULE_LABEL 1117
#define IDC_EYEBALL 1118
#define IDC_TRIANGLE_FRAME 1120
// For screen readers and the keyboard only: the triangle with its weights.
#define IDC_TRIANGLE 1122

// About box (IDD_ABOUT).
#define IDC_FILE_VERSION 1001
#define IDC_DESCRIPTION 1002
#define IDC_COPYRIGHT 1003
#define IDC_ITEM_LIST 1004
#define IDC_ITEM_VALUE 1005
#define IDC_PRERELEASE 1006
#define IDC_DEBUG 1007

// Menu commands of the main window.
#define IDM_FILE_NEW 32771
#define IDM_FILE_OPEN 32772
#define IDM_FILE_SAVE 32773
#define IDM_FILE_SAVE_AS 32774
#define IDM_HELP_ABOUT 32775
#define IDM_FILE_EXIT 32776
#define IDM_VIEW_PRIORITIES 32777
#define IDM_VIEW_SUMMARY 32778
