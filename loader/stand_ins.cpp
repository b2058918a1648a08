// Stand-ins for operations whose real bodies arrive with later work (settings
// file and game-exit notice, install registration, game page, game start,
// progress page).
// Each keeps the start-up path running with the neutral answer; delete one here
// when its real body lands.
#include "loader/game_loader.h"
#include "loader/game_loader_wnd.h"

namespace qel {

void GameLoaderWnd::BuildGamePath() {}
void GameLoaderWnd::LoadGame() {}
void GameLoaderWnd::OnOpenGame(const std::string&) {}
void GameLoaderWnd::OnDownloadProgress(WPARAM) {}
void GameLoaderWnd::OnUnzipResult(WPARAM) {}
void GameLoaderWnd::OnNetworkResult(WPARAM) {}
void GameLoaderWnd::OnProgressTipTimer() {}

}  // namespace qel
