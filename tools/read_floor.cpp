// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta-read-floor: reads a catalogue file and decodes it to UTF-8, and
// nothing else: the floor the headless program's peak memory is measured
// against. It is linked as zorbinta-headless is and starts the same way
// (the same libraries, an application object of Qt Core), so that both
// processes begin from the same baseline; the file is read and decoded with
// the program's own routines, both held at once as decoding needs them.
//
//   zorbinta-read-floor FILE     prints the file's size and the text's

#include <QCoreApplication>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Win1251.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: zorbinta-read-floor FILE\n";
        return 2;
    }
    try {
        const std::optional<std::string> bytes =
            zorbinta::readFileBytesUpTo(argv[1], zorbinta::kMaxCatalogueBytes).bytes;
        if (!bytes) {
            std::cerr << "zorbinta-read-floor: the file is larger than a catalogue may be\n";
            return 1;
        }
        const std::string text = zorbinta::fromCp1251(*bytes);
        std::cout << "file=" << bytes->size() << " text=" << text.size() << "\n";
    } catch (const zorbinta::Error& error) {
        std::cerr << "zorbinta-read-floor: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
