#include "app/document/RulerUnitsChoice.h"

#include "app/document/LoopLengthRequest.h"
#include "app/document/QuilletDocument.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

void ChooseRulerUnits(CQuilletDocument& document, uint32_t units, ILoopLengthRequest& request) {
    if (units == kRulerUnits_Beats && !GiveLoopLength(document, request))
        throw NSMishap::XSilentAbort("cannot switch to beats without a loop length");
    SViewAndEditAttributes attributes = document.GetViewAndEditAttributes();
    attributes.fHorizontalRulerUnits = units;
    document.SetViewAndEditAttributes(attributes);
}

}  // namespace NSQuillet
