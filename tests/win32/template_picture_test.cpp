// The template picture as the canvas shows it after Load Picture: white
// dimmed to (85, 85, 85) and black kept black, whatever the bit depth of the
// file.
#include <windows.h>

#include <string>

#include "app/shell_handles_win32.h"
#include "canvas/view_transform.h"
#include "document/command_ids.h"
#include "tests/win32/file_dialog_driver.h"
#include "tests/win32/harness_win32.h"

namespace {

const int SIDE = 16;
const COLORREF DIMMED_WHITE = RGB(85, 85, 85), BLACK = 0;

void Put16(std::string* bytes, unsigned value) {
    bytes->push_back((char)(value & 0xFF));
    bytes->push_back((char)(value >> 8));
}
void Put32(std::string* bytes, unsigned value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

// A 16 x 16 bottom-up BMP of the given depth: the left half white, the
// right half black. Palette depths use a two-entry black-and-white table.
std::string BlackAndWhiteBmp(int bits) {
    int rowBytes = ((SIDE * bits + 31) / 32) * 4;
    int colours = bits <= 8 ? 2 : 0;
    std::string row(rowBytes, '\0');
    for (int x = 0; x < SIDE / 2; ++x) {
        switch (bits) {
            case 1:
                row[x / 8] = (char)(row[x / 8] | (0x80 >> (x % 8)));
                break;
            case 4:
                row[x / 2] = (char)(row[x / 2] | (x % 2 ? 0x01 : 0x10));
                break;
            case 8:
                row[x] = 1;
                break;
            default:
                for (int b = 0; b < 3; ++b) row[x * (bits / 8) + b] = (char)0xFF;
        }
    }
    // The file header, then a BITMAPINFOHEADER: one plane, BI_RGB, the
    // colour table.
    const unsigned offset = 14 + 40 + 4 * colours, size = rowBytes * SIDE;
    std::string bytes = "BM";
    for (unsigned value : {offset + size, 0u, offset, 40u, (unsigned)SIDE, (unsigned)SIDE})
        Put32(&bytes, value);
    Put16(&bytes, 1);
    Put16(&bytes, bits);
    for (unsigned value : {0u, size, 2835u, 2835u, (unsigned)colours, 0u}) Put32(&bytes, value);
    if (colours) {
        Put32(&bytes, 0x00000000);
        Put32(&bytes, 0x00FFFFFF);
    }
    for (int y = 0; y < SIDE; ++y) bytes += row;
    return bytes;
}

COLORREF CanvasPixel(int x, int y) {
    HDC dc = GetDC(CanvasWindow());
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(CanvasWindow(), dc);
    return colour;
}

}  // namespace

TEST(TemplatePicture, WhiteIsDimmedToOneThirdForEveryBitDepth) {
    std::string folder = MakeTestFolder();
    for (int bits : {1, 4, 8, 24, 32}) {
        ResetProgramState();
        std::string path = folder + "\\bw" + std::to_string(bits) + ".bmp";
        WriteFileBytes(path, BlackAndWhiteBmp(bits));
        const char* caption = "Load Template Image";
        StartDialogScript({TypeName(caption, path), Press(caption, IDOK)});
        SendCommand(CMD_LOAD_PICTURE);
        PumpProgramMessages();
        DialogRecord seen = FinishDialogScript();
        EXPECT_EQ(seen.stepsLeft, 0u) << bits;
        EXPECT_TRUE(seen.unscripted.empty()) << bits;
        EXPECT_FALSE(MenuItemGrayed(CMD_CLEAR_PICTURE)) << bits;

        // The picture's centre lies on frame (0, 0), the canvas centre; the
        // axes run through it, so look a few pixels off them.
        int cx = -viewState.originX, cy = -viewState.originY;
        EXPECT_EQ(CanvasPixel(cx - 4, cy - 4), DIMMED_WHITE) << bits << " bits, white half";
        EXPECT_EQ(CanvasPixel(cx - 7, cy + 5), DIMMED_WHITE) << bits << " bits, white half";
        EXPECT_EQ(CanvasPixel(cx + 4, cy - 4), BLACK) << bits << " bits, black half";
        EXPECT_EQ(CanvasPixel(cx - 4, cy - 12), BLACK) << bits << " bits, outside the picture";
    }
    ResetProgramState();
    RemoveTestFolder(folder);
}

// A picture named in another script, chosen in Load Picture's dialog and
// dropped on the window.
TEST(FileNamesOfPictures, LoadAndDropInAnyScript) {
    std::string folder = MakeTestFolder();
    for (const char* name : NamesInOtherScripts) {
        const std::string path = folder + "\\" + name + ".bmp";
        WriteFileBytes(path, BlackAndWhiteBmp(24));
        ResetProgramState();
        const char* caption = "Load Template Image";
        StartDialogScript({TypeName(caption, path), Press(caption, IDOK)});
        SendCommand(CMD_LOAD_PICTURE);
        PumpProgramMessages();
        DialogRecord seen = FinishDialogScript();
        EXPECT_EQ(seen.stepsLeft, 0u) << name;
        EXPECT_TRUE(seen.unscripted.empty()) << name << ": " << seen.unscripted[0];
        EXPECT_FALSE(MenuItemGrayed(CMD_CLEAR_PICTURE)) << name;

        ResetProgramState();
        StartDialogScript({});
        SendMessageW(ProgramWindow(), WM_DROPFILES, (WPARAM)MakeDropHandle({path}), 0);
        PumpProgramMessages();
        seen = FinishDialogScript();
        EXPECT_TRUE(seen.unscripted.empty()) << name << ": " << seen.unscripted[0];
        EXPECT_FALSE(MenuItemGrayed(CMD_CLEAR_PICTURE)) << name << " dropped";
    }
    ResetProgramState();
    RemoveTestFolder(folder);
}
