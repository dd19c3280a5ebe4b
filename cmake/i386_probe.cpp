// Whether this machine builds and runs 32-bit C++ programs: the runtime and
// exceptions, as the test programs use them.
#include <stdexcept>
#include <string>
#include <vector>
static_assert(sizeof(void *) == 4, "not a 32-bit target");
int main() {
    std::vector<std::string> v{"probe"};
    try {
        throw std::runtime_error(v[0]);
    } catch (const std::exception &e) {
        return std::string(e.what()) == "probe" ? 0 : 1;
    }
}
