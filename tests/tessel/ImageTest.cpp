#include "TestSupport.h"

#include "tessel/MImageList.h"
#include "tessel/Manager.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace tessel_test;

namespace {

std::string PngOf(int w, int h, Color fill) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    MRender::FillSolidRect(cr, CRect(0, 0, w, h), fill);
    cairo_destroy(cr);
    std::string out;
    cairo_surface_write_to_png_stream(
        s,
        [](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &out);
    cairo_surface_destroy(s);
    return out;
}

void Put16(std::string& s, unsigned v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8 & 0xFF));
}
void Put32(std::string& s, unsigned v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// A one-entry icon of w × h at 24 bits with its mask: the left half masked out.
std::string Ico24(int w, int h) {
    std::string dib;
    Put32(dib, 40);
    Put32(dib, static_cast<unsigned>(w));
    Put32(dib, static_cast<unsigned>(h * 2));
    Put16(dib, 1);
    Put16(dib, 24);
    for (int i = 0; i < 6; ++i) {
        Put32(dib, 0);
    }
    const int row = ((w * 24 + 31) / 32) * 4;
    for (int y = 0; y < h; ++y) {
        std::string r;
        for (int x = 0; x < w; ++x) {
            r += std::string("\x00\x00\xff", 3); // blue, green, red: red
        }
        r.resize(static_cast<std::size_t>(row), '\0');
        dib += r;
    }
    const int mrow = ((w + 31) / 32) * 4;
    for (int y = 0; y < h; ++y) {
        std::string m(static_cast<std::size_t>(mrow), '\0');
        for (int x = 0; x < w / 2; ++x) {
            m[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        }
        dib += m;
    }
    std::string ico;
    Put16(ico, 0);
    Put16(ico, 1);
    Put16(ico, 1);
    ico.push_back(static_cast<char>(w));
    ico.push_back(static_cast<char>(h));
    ico.push_back(0);
    ico.push_back(0);
    Put16(ico, 1);
    Put16(ico, 24);
    Put32(ico, static_cast<unsigned>(dib.size()));
    Put32(ico, 22);
    return ico + dib;
}

// A two-frame GIF: a red frame, then a blue frame.
std::string TwoFrameGif() {
    const std::string path = ::testing::TempDir() + "two.gif";
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    GifColorType colours[2] = {{255, 0, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    EGifPutScreenDesc(gif, 4, 4, 1, 0, map);
    EGifSetGifVersion(gif, true);
    for (int frame = 0; frame < 2; ++frame) {
        GraphicsControlBlock gcb{};
        gcb.DelayTime = 10;
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        const size_t n = EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext);
        EGifPutImageDesc(gif, 0, 0, 4, 4, false, nullptr);
        GifPixelType line[4] = {static_cast<GifPixelType>(frame), static_cast<GifPixelType>(frame),
                                static_cast<GifPixelType>(frame), static_cast<GifPixelType>(frame)};
        for (int y = 0; y < 4; ++y) {
            EGifPutLine(gif, line, 4);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t At(const ImagePtr& img, int frame, int x, int y) {
    cairo_surface_t* s = img->Surface(frame);
    cairo_surface_flush(s);
    const auto* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    return reinterpret_cast<const std::uint32_t*>(row)[x];
}

TEST(ImageDecoders, ReadPngGifAndIco) {
    const ImagePtr png = DecodeImage(PngOf(6, 3, 0xFF10A0F0));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->Width(), 6);
    EXPECT_EQ(At(png, 0, 5, 2), 0xFF10A0F0u);

    const ImagePtr gif = DecodeImage(TwoFrameGif());
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->FrameCount(), 2);
    EXPECT_EQ(At(gif, 0, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(At(gif, 1, 1, 1), 0xFF0000FFu);
    EXPECT_EQ(gif->FrameDelayMs(1), 100);

    const ImagePtr ico = DecodeImage(Ico24(16, 16));
    ASSERT_TRUE(ico);
    EXPECT_EQ(ico->Width(), 16);
    EXPECT_EQ(At(ico, 0, 2, 3), 0u);           // masked
    EXPECT_EQ(At(ico, 0, 12, 3), 0xFFFF0000u); // red
}

TEST(ImageDecoders, MalformedInputGivesNull) {
    const std::string png = PngOf(8, 8, 0xFFFFFFFF);
    std::string bad_offset = Ico24(16, 16);
    bad_offset[18] = '\x7F'; // entry offset far beyond the end
    std::string huge_bmp = "BM";
    Put32(huge_bmp, 0);
    Put32(huge_bmp, 0);
    Put32(huge_bmp, 54);
    Put32(huge_bmp, 40);
    Put32(huge_bmp, 100000);
    Put32(huge_bmp, 100000);
    Put16(huge_bmp, 1);
    Put16(huge_bmp, 32);
    huge_bmp.resize(80, '\0');
    const std::string inputs[] = {
        "",
        "not an image",
        png.substr(0, png.size() / 2),
        "GIF89a\x10\x00",
        std::string("\x00\x00\x01\x00\x05\x00", 6),
        bad_offset,
        huge_bmp,
    };
    for (const std::string& bytes : inputs) {
        EXPECT_FALSE(DecodeImage(bytes)) << bytes.size();
    }
    EXPECT_FALSE(LoadImageFile("/nonexistent/picture.png"));
}

class ImageCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ::testing::TempDir() + "tessel_images/";
        std::filesystem::create_directories(folder_ + "skins/theme1/icon");
        std::filesystem::create_directories(folder_ + "res");
        std::filesystem::create_directories(folder_ + "tessel");
        Write(folder_ + "skins/theme1/strip.png", PngOf(80, 10, 0xFF00FF00));
        Write(folder_ + "skins/theme1/icon/dot.png", PngOf(4, 4, 0xFF0000FF));
        Write(folder_ + "res/7.png", PngOf(10, 10, 0xFFFF0000));
        Write(folder_ + "tessel/7.png", PngOf(20, 10, 0xFF0000FF));
        ui_ = std::make_unique<HeadlessSession>(folder_);
        ASSERT_TRUE(dlg_.Open());
    }
    void TearDown() override {
        dlg_.DestroyWindow();
        ui_.reset();
        Manager::SetProgramFolder(KOVRIN_BUILD_PROGRAM_DIR);
    }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string folder_;
    std::unique_ptr<HeadlessSession> ui_;
    TestDialog dlg_;
};

TEST_F(ImageCacheTest, SameFileIsOneEntryWhateverTheCount) {
    PaintManager& pm = dlg_.GetPaintManager();
    ImgResInfo* first = pm.AddImgResInfo("strip.png", 4);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->frameWidth, 20);
    ImgResInfo* second = pm.AddImgResInfo("strip.png", 2);
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->frameWidth, 20);
    EXPECT_EQ(pm.AddImgResInfo("missing.png", 1), nullptr);
    // Sub-folders with doubled slashes or backslashes name the same file.
    EXPECT_NE(pm.AddImgResInfo("icon//dot.png", 1), nullptr);
    EXPECT_NE(pm.AddImgResInfo("icon\\dot.png", 1), nullptr);
    // A count of 0 counts as 1.
    ImgResInfo* zero = pm.AddImgResInfo("icon/dot.png", 0);
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->frameWidth, 4);
}

TEST_F(ImageCacheTest, ResourcesOfApplicationAndLibraryAreSeparateEntries) {
    PaintManager& pm = dlg_.GetPaintManager();
    ImgResInfo* app = pm.AddImgResInfo(7, "PNG", 1, 1);
    ImgResInfo* lib = pm.AddImgResInfo(7, "PNG", 1, 0);
    ASSERT_NE(app, nullptr);
    ASSERT_NE(lib, nullptr);
    EXPECT_NE(app, lib);
    EXPECT_EQ(app->frameWidth, 10);
    EXPECT_EQ(lib->frameWidth, 20);
    EXPECT_EQ(pm.AddImgResInfo(7, "PNG", 1, 1), app);
}

TEST(MImageListTest, InsertsAtValidIndexesOnly) {
    const std::string a = ::testing::TempDir() + "list_a.png";
    const std::string b = ::testing::TempDir() + "list_b.png";
    std::ofstream(a, std::ios::binary) << PngOf(8, 4, 0xFFFF0000);
    std::ofstream(b, std::ios::binary) << PngOf(4, 4, 0xFF0000FF);
    MImageList list;
    EXPECT_EQ(list.InsertImage(-2, a, 1, 2), -1);
    EXPECT_EQ(list.InsertImage(0, a, 1, 2), -1); // nothing at 0 yet
    EXPECT_EQ(list.InsertImage(-1, "", 1, 2), -1);
    EXPECT_EQ(list.GetImageCount(), 0);
    EXPECT_EQ(list.AddImage(a, 10, 2), 0);
    EXPECT_EQ(list.InsertImage(0, b, 20, 1), 0);
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_EQ(list.GetImagePath(0), b);
    EXPECT_EQ(list.GetImagePathByID(10), a);
    ASSERT_NE(list.GetImageDataByID(10), nullptr);
    EXPECT_EQ(list.GetImageDataByID(10)->frameWidth, 4);
    EXPECT_EQ(list.GetItemImageData(5), nullptr);
    Bitmap canvas(8, 8);
    list.DrawItemIcon(canvas.Context(), CRect(0, 0, 8, 8), 1, 7); // cell beyond: the last
    EXPECT_EQ(canvas.Pixel(4, 4), 0xFFFF0000u);
    list.DelAllImages();
    EXPECT_EQ(list.GetImageCount(), 0);
}

} // namespace
