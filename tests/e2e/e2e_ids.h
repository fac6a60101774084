// Resource ids of the driver's own programs (never the installer's).
#pragma once

// A hidden dialog whose template has the wizard's font: the driver takes the
// font the system makes of it.
#define IDD_E2E_FONT_PROBE   900

// The probe program: a small dialog that the driver's own tests work.
#define IDD_PROBE            910
#define IDC_PROBE_BUTTON     911
#define IDC_PROBE_CHECK      912
#define IDC_PROBE_LIST       913
#define IDC_PROBE_EDIT       914
#define IDC_PROBE_STATUS     915
#define PROBE_EXIT_CODE      7

// The benchmark's anchor: a trivial program that opens one dialog.
#define IDD_TRIVIAL          920
#define IDC_TRIVIAL_EDIT     921
