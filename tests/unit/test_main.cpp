// Shared main for the unit tests. CTest runs every suite twice, once on the
// classic SDL 1.2 and once on the compatibility library, and says which one
// it expects in KAVEX_EXPECT_SDL; this checks the run really got that one.
#include <SDL/SDL.h>
#undef main  // SDL renames main on Windows; this one is the program's own
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string loaded_provider() {
    const SDL_version* v = SDL_Linked_Version();
    // The compatibility library reports 1.2.50 and later; the classic one 1.2.15.
    return v->patch >= 50 ? "compat" : "classic";
}

class provider_check : public ::testing::Environment {
    void SetUp() override {
        const char* expected = std::getenv("KAVEX_EXPECT_SDL");
        if (expected) {
            ASSERT_EQ(loaded_provider(), expected) << "the wrong SDL library was loaded";
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new provider_check);
    return RUN_ALL_TESTS();
}
