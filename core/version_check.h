#pragma once
// The version check of the launcher: the version address, the reply of the
// data centre's version endpoint and the decision whether to update.
#include <map>
#include <string>

namespace qel {

// Address of the version endpoint for one run; `random` makes it unique so
// that no cache answers for the data centre.
std::string VersionAddress(const std::string& host, int port, int random);

// Fills `entries` from the reply's first line, a flat object such as
// {"url":"http://h/p/","libversion":"12"}: quotes and braces are dropped, the
// text is cut at every "," and each piece at its first ":" (a piece without
// ":" has the empty key). Nothing is trimmed or unescaped; a later key wins.
void ParseVersionReply(std::map<std::string, std::string>& entries, const std::string& replyLine);

// A version as decimal text: leading white space, an optional sign, digits up
// to the first other character; 0 without digits. Values beyond the int range
// are held at its limits, so a longer number never compares as a smaller one.
int ParseVersionNumber(const std::string& text);

enum class UpdateDecision { StartInstalled, Download };

// The installed game is started only when both its program and its version
// file exist and the installed version is not older than the remote one.
UpdateDecision DecideUpdate(bool gameProgramExists, bool versionFileExists, int installedVersion,
                            int remoteVersion);

// "qelorvane_<version text>.zip", the version text exactly as the reply gave it.
std::string PackageName(const std::string& versionText);

}  // namespace qel
