#include "platform/modalhook.h"
#include "platform/strings.h"
#include "protocol/cserror.h"

#include <gtest/gtest.h>

// Every test program fails a test that looks up a string id the table does not have or that
// meets a prompt nobody answered.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    riz::SetMissingStringHandler(
        [](int id) { ADD_FAILURE() << "string table has no text with id " << id; });
    // No prompt may wait for a person: one without a queued answer fails the test.
    riz::ModalHook::SetUnattended(true, [](const riz::ModalHook::Record& r) {
        ADD_FAILURE() << "unanswered " << r.kind << " prompt: " << r.text;
    });
    riz::ECSError::SetDescriptionLookup([](int code) {
        return riz::HasStr(code) ? riz::LoadStr(code) : std::string();
    });
    return RUN_ALL_TESTS();
}
