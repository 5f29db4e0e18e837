// libFuzzer target: arbitrary bytes through the LWO2 reader and the explanation of a file that
// gives no mesh.
#include "lwo/LwoDiagnosis.h"
#include "lwo/LwoReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto object = readLwoMemory(data, size, "fuzz.lwo");
    freeLwo(object);
    explainLwoFailure(data, size);
    return 0;
}
