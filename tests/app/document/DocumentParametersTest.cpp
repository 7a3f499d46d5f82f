#include <gtest/gtest.h>

#include "app/document/DocumentParameters.h"
#include "app/document/EffectParameters.h"
#include "app/document/QuilletDocument.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/TiedFields.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

// The value sets start where a new document's engine starts, so a set built from scratch
// changes only what it names.
TEST(DocumentParameters, DefaultSetsAreThoseOfANewDocument) {
    const auto document = MakeLoopDocument(16, 1, 3000);
    EXPECT_EQ(document->GetEffectParameters(), SEffectParameters());
    EXPECT_EQ(SEffectParameters().fProcessingGain, 1000);
    const SDocumentParameters parameters = document->GetDocumentParameters();
    EXPECT_EQ(parameters.fEnvelope, SEnvelopeSettings());
    EXPECT_EQ(parameters.fLoop, CLoopSettings());
}

}  // namespace
