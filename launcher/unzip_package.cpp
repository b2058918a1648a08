#include "launcher/game_launch_dlg.h"

// Interim: the extraction layer arrives separately.
int CGameLaunchDlg::UnzipPackage(const std::wstring&, const std::wstring&) { return UnzipFailed; }
