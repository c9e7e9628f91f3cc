// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target over files, without libFuzzer: the seed corpus and the
// inputs that once failed stay regression tests of every build.
#include <QDirIterator>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille);

int main(int argc, char* argv[])
{
    int fichiers = 0;
    for (int i = 1; i < argc; ++i) {
        QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (!f.open(QIODevice::ReadOnly))
                return 1;
            const QByteArray octets = f.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(octets.constData()),
                                   size_t(octets.size()));
            ++fichiers;
        }
    }
    std::printf("%d inputs run\n", fichiers);
    return fichiers > 0 ? 0 : 1;
}
