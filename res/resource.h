// The resource ids, shared by quenlix.rc and the program's sources. Plain #defines,
// because they are all the resource compiler understands; the cancel button uses the
// platform's own IDCANCEL.
#ifndef QUENLIX_RES_RESOURCE_H
#define QUENLIX_RES_RESOURCE_H

#define IDD_MAIN "IDDIALOG"  // the status window's dialog template, found by name
#define IDI_MAIN 103         // the program icon group
#define IDC_TEXT 1000        // the one-line status text
#define IDC_OK 1002          // the quit question's "OK" button; not the platform's IDOK

#endif
