#pragma once

namespace corvane {

// The Windows face names used throughout (宋体, 微软雅黑) are mapped to the CJK faces that Linux has.
void installFontSubstitutions();

}
