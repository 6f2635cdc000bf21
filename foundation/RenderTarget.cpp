#include "foundation/RenderTarget.h"

namespace sarnova {

IRenderTarget* RenderTargetOf(IGraphics& View) { return dynamic_cast<IRenderTarget*>(&View); }

}  // namespace sarnova
