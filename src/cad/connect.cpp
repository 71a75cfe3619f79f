#include "cad/connect.h"

#include <exception>

#include "base/text_codec.h"
#include "cad/ids.h"

namespace cad {

bool hostWindowOpen(HostWindowFinder& windows, const CadProfile& profile) {
    if (profile.windowTitle.empty()) return false;
    return profile.titleIsPrefix ? windows.topLevelWindowTitleBegins(profile.windowTitle)
                                 : windows.topLevelWindowExists(profile.windowTitle);
}

bool connectToCad(std::unique_ptr<CadApplication>& application, HostWindowFinder& windows,
                  CoApplication& creator, const CadProfile& profile, std::wstring* failure) {
    if (!hostWindowOpen(windows, profile)) return false;
    std::wstring why;
    try {
        application = creator.Create(profile);
        if (!application) why = L"オートメーション オブジェクトがありません。";
    } catch (const CadError& e) {
        why = e.text();
        application.reset();
    } catch (const std::exception& e) {
        why = base::fromUtf8(e.what());
        application.reset();
    }
    // A window without a usable automation object is "not connected"; the caller decides
    // whether to say why.
    if (failure) *failure = why;
    return application != nullptr;
}

std::unique_ptr<CadSelectionSet> tempSelectionSet(CadDocument& document) {
    std::unique_ptr<CadSelectionSets> sets = document.selectionSetCollection();
    if (!sets) throw CadError(L"図面に選択セットの一覧がありません。");
    const std::int32_t count = sets->setCount();
    for (std::int32_t i = 0; i < count; ++i) {
        std::unique_ptr<CadSelectionSet> set = sets->setAt(i);
        if (!set) throw CadError(L"選択セットを取得できません。");
        if (set->setName() == kTempSelectionSetName) {
            set->emptySet();
            return set;
        }
    }
    std::unique_ptr<CadSelectionSet> added = sets->addSet(kTempSelectionSetName);
    if (!added) throw CadError(L"選択セットを作成できません。");
    return added;
}

}  // namespace cad
