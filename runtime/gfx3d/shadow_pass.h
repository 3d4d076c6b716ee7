// The shadow pass of stencil shadow volumes, counted by parity: while it is open, shadow volumes drawn
// toggle the stencil bits and nothing reaches the colour buffer; closing it darkens every pixel whose
// stencil is not 0 and hands the renderer back in its 2D set-up. The volumes themselves are drawn per
// mesh by the stencil-shadow mode of mesh drawing.
#pragma once

namespace rt {

class Rainbows3D;

// Flat shading, colour and depth writes off, stencil inverted wherever a volume is drawn.
void openShadowPass(Rainbows3D& scene);
// Nothing when no pass is open; else the darkening and the state described above.
void closeShadowPass(Rainbows3D& scene);

} // namespace rt
