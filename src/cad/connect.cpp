#include "cad/connect.h"

#include <exception>

#include "cad/ids.h"

namespace cad {

bool hostWindowOpen(HostWindowFinder& windows, const CadProfile& profile) {
    if (profile.windowTitle.empty()) return false;
    return profile.titleIsPrefix ? windows.topLevelWindowTitleBegins(profile.windowTitle)
                                 : windows.topLevelWindowExists(profile.windowTitle);
}

bool connectToCad(std::unique_ptr<CadApplication>& application, HostWindowFinder& windows,
                  CoApplication& creator, const CadProfile& profile) {
    if (!hostWindowOpen(windows, profile)) return false;
    try {
        application = creator.Create(profile);
    } catch (const std::exception&) {
        // A window without a usable automation object is simply "not connected".
        application.reset();
    }
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
