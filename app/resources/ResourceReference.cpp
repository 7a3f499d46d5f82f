#include "app/resources/ResourceReference.h"

#include "app/resources/ProgramResources.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

std::string ReplacePlaceholders(const std::string& text, const std::array<std::string, 4>& arguments) {
    std::string replaced;
    replaced.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3') {
            replaced += arguments[size_t(text[i + 1] - '0')];
            ++i;
        } else {
            replaced += text[i];
        }
    }
    return replaced;
}

void CResourceReference::RequireKind(EResourceKind kind) const {
    if (fKind != kind)
        throw NSMishap::XIllegalCallSequence("resource reference " + std::to_string(fTableId) + "/" +
                                             std::to_string(fEntryId) + " is of another kind");
}

std::string CResourceReference::GetText() const {
    const CProgramResources& resources = CProgramResources::Get();
    switch (fKind) {
        case EResourceKind::kString:
            return ReplacePlaceholders(resources.GetStringTable(fTableId).GetText(fEntryId), fArguments);
        case EResourceKind::kAlert:
            return ReplacePlaceholders(resources.GetAlertTable(fTableId).GetText(fEntryId), fArguments);
        case EResourceKind::kMenu: break;
    }
    RequireKind(EResourceKind::kString);
    return {};
}

SAlert CResourceReference::GetAlert() const {
    RequireKind(EResourceKind::kAlert);
    SAlert alert = CProgramResources::Get().GetAlertTable(fTableId).GetAlert(fEntryId);
    alert.fHeading = ReplacePlaceholders(alert.fHeading, fArguments);
    alert.fBody = ReplacePlaceholders(alert.fBody, fArguments);
    for (std::string& button : alert.fButtons) button = ReplacePlaceholders(button, fArguments);
    return alert;
}

const SMenu& CResourceReference::GetMenu() const {
    RequireKind(EResourceKind::kMenu);
    return CProgramResources::Get().GetMenuTable(fTableId).GetMenu(fEntryId);
}

CResourceReference StringReference(int32_t entryId) {
    return CResourceReference(EResourceKind::kString, kProgramStringTable, entryId);
}

CResourceReference FrameworkStringReference(int32_t entryId) {
    return CResourceReference(EResourceKind::kString, kFrameworkStringTable, entryId);
}

CResourceReference FrameworkShortTextReference(int32_t entryId) {
    return CResourceReference(EResourceKind::kString, kFrameworkShortTextTable, entryId);
}

CResourceReference AlertReference(int32_t entryId) {
    return CResourceReference(EResourceKind::kAlert, kProgramAlertTable, entryId);
}

CResourceReference FrameworkAlertReference(int32_t entryId) {
    return CResourceReference(EResourceKind::kAlert, kFrameworkAlertTable, entryId);
}

CResourceReference MenuReference(int32_t entryId) {
    return CResourceReference(EResourceKind::kMenu, kProgramMenuTable, entryId);
}

int32_t ShowAlert(const CResourceReference& alert) {
    const SAlert shown = alert.GetAlert();
    IAlertPresenter* presenter = GetAlertPresenter();
    return presenter ? presenter->Present(shown) : 0;
}

}  // namespace NSQuillet
