// A desktop file by hand: the Entities window floating at (964, 213), 200 x 300, shown, and nothing
// else open. No window framework here, so the byte tests need none.
#pragma once
#include <string>

namespace sarnova {

inline std::string EntitiesFloatingDesktop() {
    const unsigned char Bytes[] = {
        0x00, 0x00, 0x00, 0x00,                                   // desktop name: empty
        0x01, 0x00, 0x00, 0x00,                                   // F = 1
        0x0D, 0x00, 0x00, 0x00, 'S', 'e', 'l', 'e', 'c', 't', 'i', 'o', 'n', 'F', 'o', 'r', 'm',
        0x00, 0x00, 0x00, 0x00,                                   // S = 0
        0x01, 0x00, 0x00, 0x00,                                   // P = 1
        0x3B, 0x00, 0x00, 0x00,                                   // B = 4 + 26 + 4 + 25 = 59
        0x1A, 0x00, 0x00, 0x00, 'S', 'e', 'l', 'e', 'c', 't', 'i', 'o', 'n', 'F', 'o', 'r', 'm',
        '.', 'V', 'k', 'D', 'o', 'c', 'k', 'P', 'a', 'n', 'e', 'l', '1',
        0x19, 0x00, 0x00, 0x00,                                   // L = 25
        0xC4, 0x03, 0x00, 0x00,                                   // Left 964
        0xD5, 0x00, 0x00, 0x00,                                   // Top 213
        0xC8, 0x00, 0x00, 0x00,                                   // Width 200
        0x2C, 0x01, 0x00, 0x00,                                   // Height 300
        0x00, 0x00, 0x00, 0x00,                                   // wsNormal
        0x00, 0x00, 0x00, 0x00,                                   // fsNormal
        0x01,                                                     // Visible
    };
    return std::string(reinterpret_cast<const char*>(Bytes), sizeof(Bytes));
}

}  // namespace sarnova
