// Saves one kind of file in an endless loop, alternating between two contents, until it is
// killed: tst_crashsafety kills it at random moments and inspects what is left on disk.
//   crashwriter settings|user|factory FILE
// Prints "ready" once the file holds the first content and the loop is about to start, then a
// dot after every save, so that the test can tell how long one save takes.
#include "documents.h"

#include <cstdio>

int main(int argc, char **argv)
{
    using namespace CrashDocuments;
    Kind kind = Kind::Settings;
    if (argc != 3 || !kindFromName(QString::fromLocal8Bit(argv[1]), &kind)) {
        std::fprintf(stderr, "usage: crashwriter settings|user|factory FILE\n");
        return 2;
    }
    try {
        MJsonConfig store(QString::fromLocal8Bit(argv[2]));
        const MJsonConfig::Entries contents[] = {entries(kind, 0), entries(kind, 1)};
        if (kind == Kind::Settings) {
            for (const auto &entry : contents[0])
                store.setValue(entry.first, entry.second);
        } else {
            store.setValues(contents[0]);
        }
        std::fputs("ready\n", stdout);
        std::fflush(stdout);

        QJsonValue toggles[2];
        for (int variant = 0; variant < 2; ++variant) {
            for (const auto &entry : contents[variant]) {
                if (entry.first == kSettingsToggle)
                    toggles[variant] = entry.second;
            }
        }
        for (int variant = 1;; variant = 1 - variant) {
            if (kind == Kind::Settings)
                store.setValue(kSettingsToggle, toggles[variant]);
            else
                store.setValues(contents[variant]);
            std::fputc('.', stdout);
            std::fflush(stdout);
        }
    } catch (const ConfigFileError &error) {
        std::fprintf(stderr, "crashwriter: %s\n", error.what());
        return 1;
    }
}
