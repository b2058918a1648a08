#include "core/page_address.h"

namespace qel {

std::wstring BuildGamePageAddress(const std::wstring& base, const GamePageValues& v) {
    std::wstring url = base + L"?fileparam=" + v.fileParam;
    const struct {
        const wchar_t* key;
        const std::wstring& value;
    } optional[] = {{L"&token=", v.token}, {L"&source=", v.source}, {L"&ovext=", v.ovExt},
                    {L"&tokenLogin=", v.tokenLogin}};
    for (const auto& piece : optional) {
        if (!piece.value.empty()) url += piece.key + piece.value;
    }
    return url;
}

bool IsWebAddress(const std::wstring& address) {
    const size_t colon = address.find(L"://");
    if (colon == std::wstring::npos || colon + 3 >= address.size()) return false;
    std::wstring scheme = address.substr(0, colon);
    for (wchar_t& c : scheme) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return scheme == L"http" || scheme == L"https";
}

}  // namespace qel
