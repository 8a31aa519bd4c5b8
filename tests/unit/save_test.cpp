// Saving as BMP: every pixel comes back, one file format under both SDL
// providers and on Windows, names in UTF-8, and a save that fails leaves
// whatever file was there before.
#include "save_support.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

using kavex::canvas;
using test::bytes;
using test::expected_bmp;
using test::picture;
using test::read_file;
using test::SaveTest;
using test::write_file;
namespace fs = std::filesystem;

TEST_F(SaveTest, RoundTripKeepsEveryPixelInOneFormat) {
    for (bool keyed : {false, true}) {
        canvas c = picture();
        if (keyed) {  // a transparent copy leaves a colour key on the surface
            c.set_transparent(true);
            canvas elsewhere(40, 40);
            elsewhere.blitfrom(c, 0, 0);
        }
        const std::string name = path(keyed ? "keyed.bmp" : "plain.bmp");
        ASSERT_TRUE(c.save(name));
        EXPECT_EQ(read_file(name), expected_bmp(c.surface)) << "keyed " << keyed;

        SDL_Surface* loaded = SDL_LoadBMP(name.c_str());
        ASSERT_NE(loaded, nullptr) << SDL_GetError();
        SDL_Surface* back = SDL_ConvertSurface(loaded, c.surface->format, 0);
        ASSERT_NE(back, nullptr);
        ASSERT_EQ(back->w, 37);
        ASSERT_EQ(back->h, 23);
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(test::pixel_at(back, x, y) & 0xFFFFFF, test::pixel_at(c.surface, x, y) & 0xFFFFFF)
                    << x << "," << y << " keyed " << keyed;
        SDL_FreeSurface(back);
        SDL_FreeSurface(loaded);
    }
}

// A name in UTF-8, letters outside ASCII in the folder and the file, as a
// Czech user's would be; an earlier file of that name is replaced whole.
TEST_F(SaveTest, NamesInUtf8AndAnEarlierFileReplacedWhole) {
    fs::create_directory(folder / test::utf8_path("Dvořák"));
    const std::string name = path("Dvořák/obrázek.bmp");
    write_file(name, "an earlier picture, longer than nothing");
    const canvas c = picture(9, 7);
    ASSERT_TRUE(c.save(name));
    EXPECT_EQ(read_file(name), expected_bmp(c.surface));
    const canvas other = picture(3, 2);
    ASSERT_TRUE(other.save(name));
    EXPECT_EQ(read_file(name), expected_bmp(other.surface));
    EXPECT_EQ(listing(folder / test::utf8_path("Dvořák")), std::set<std::string>{"obrázek.bmp"}) << "nothing left behind";
}

TEST_F(SaveTest, FailuresReturnFalseAndLeaveTheEarlierFile) {
    const canvas c = picture(100, 100);
    const std::string earlier = path("earlier.bmp");
    write_file(earlier, "old");

    SDL_ClearError();  // no earlier SDL error may stand in for the missing stream
    EXPECT_FALSE(c.save(path("missing/picture.bmp")));
    EXPECT_FALSE(c.save(path("earlier.bmp/picture.bmp")));  // a file where a folder should be
    EXPECT_FALSE(c.save(""));
    EXPECT_FALSE(c.save(folder.u8string()));
    EXPECT_EQ(read_file(earlier), (bytes{'o', 'l', 'd'}));
    EXPECT_EQ(listing(folder), std::set<std::string>{"earlier.bmp"});
}

TEST_F(SaveTest, AnEarlierErrorDoesNotSpoilAGoodSave) {
    const canvas c = picture(6, 6);
    EXPECT_FALSE(c.save(path("missing/picture.bmp")));
    EXPECT_TRUE(c.save(path("picture.bmp")));
    SDL_SetError("an error left over from something else");
    EXPECT_TRUE(c.save(path("picture.bmp")));
    EXPECT_EQ(read_file(path("picture.bmp")), expected_bmp(c.surface));
}

TEST_F(SaveTest, ACanvasWithoutASurfaceSavesNothing) {
    const canvas closed;
    EXPECT_FALSE(closed.save(path("nothing.bmp")));
    EXPECT_TRUE(listing(folder).empty());
}
