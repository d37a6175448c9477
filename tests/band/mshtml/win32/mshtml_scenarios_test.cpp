// The engine's scenarios once more, through the MSHTML binding: the results must be those reached directly.
#include "tests/band/mshtml/win32/binding_view.h"

namespace ph::test {
namespace {

std::unique_ptr<PageView> MakeBindingView() { return std::make_unique<BindingView>(); }
INSTANTIATE_TEST_SUITE_P(Mshtml, EngineScenario, ::testing::Values(&MakeBindingView));

}  // namespace
}  // namespace ph::test
