// The storage a file-based archive fuzz target runs on. Made once, in LLVMFuzzerInitialize, so that nothing
// it allocates is taken for a leak of an input.
#pragma once

#include "resources/testing/TemporaryDriveStorage.h"

class ArchiveFuzzStorage : public TemporaryDriveStorage {
public:
    static ArchiveFuzzStorage& Instance() {
        static ArchiveFuzzStorage* instance = new ArchiveFuzzStorage;
        return *instance;
    }

private:
    ArchiveFuzzStorage() : TemporaryDriveStorage("vemo-fuzz-") {}
};
