; First Light, a starter show: the material library.
;
; Two kinds of block live here. An "Image {" block loads one picture from data\art\ (or
; data\fnt\) and gives it a short alias; effects and materials then name the picture by that
; alias. A "Shader {" block makes a named material: how something is blended, depth-tested,
; culled, lit and textured. Effects, scenes and meshes name materials ("Shader" lines, and the
; material names stored in a mesh's faces).
;
; This file is read before generic.effect, so everything the timeline names must be here.

; ---------------------------------------------------------------------------------------------
; The console font. Every show needs a picture with the alias "confont": the frame-rate
; overlay and every Text effect draw their letters from it (white glyphs on clear, 16 cells of
; 16 x 24 texels per row from "!" on, in a 256 x 256 picture).
; ---------------------------------------------------------------------------------------------
Image {
	Info "console font"
	Type 2D
	Format RGBA
	Name "confont.png"
	Alias "confont"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR
	}
}

; ---------------------------------------------------------------------------------------------
; The title lettering: 512 x 128 texels, cream on clear. Format RGBA keeps the clear parts
; clear; the edge clamp keeps the border colour from creeping in at the picture's rim.
; ---------------------------------------------------------------------------------------------
Image {
	Info "title lettering"
	Type 2D
	Format RGBA
	Name "first-light-title.png"
	Alias "title"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR
	}
}

; The picture card: a painted night valley, 512 x 512, no alpha (Format RGB).
Image {
	Info "picture card"
	Type 2D
	Format RGB
	Name "valley-card.jpg"
	Alias "valley"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR
	}
}

; A soft round glow, for sparks and halos. "Mipmap LINEAR_LINEAR" builds mipmaps and blends
; between them, so small, distant sparks do not shimmer ("Mipmap LINEAR", used above for
; pictures shown at their own size, builds none).
Image {
	Info "glow"
	Type 2D
	Format RGBA
	Name "spark.png"
	Alias "spark"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR_LINEAR
	}
}

; The tunnel's lining: seamless both ways, so it repeats (WRAP) round and along the tube. The
; far end of the tube shows it tiny: mipmaps, from the nearest level (cheaper, looks the same).
Image {
	Info "tunnel lining"
	Type 2D
	Format RGB
	Name "tunnel-lining.jpg"
	Alias "lining"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
	}
}

; ---------------------------------------------------------------------------------------------
; Materials
; ---------------------------------------------------------------------------------------------

; The knot's surface (the mesh's faces name "StarterKnot"): lit copper. The Material block sets
; the colours the scene's lights work with; Shininess (0 to 128) tightens the highlight.
Shader {
	Name "StarterKnot"
	Material {
		Enable yes
		Ambient 0.22 0.12 0.06 1
		Diffuse 0.95 0.58 0.30 1
		Specular 1 0.9 0.75 1
		Emission 0.03 0.01 0 1
		Shininess 48
	}
	Cull {
		Enable yes
		Function BACK
	}
}

; Sparks and the light's halo: the glow picture added as light (Src SRC_ALPHA, Dst ONE), so
; overlapping sparks brighten. They test depth (hidden behind the knot) but do not write it, so
; they never hide one another.
Shader {
	Name "Spark"
	Blend {
		Enable yes
		Lighting no
		Src SRC_ALPHA
		Dst ONE
	}
	ZBuffer {
		Enable yes
		Write no
	}
	Cull {
		Enable no
	}
	Texture {
		Image "spark"
		TexUnit UNIT0
	}
}

; The tunnel's wall: the lining, seen from inside (no culling), fading into the night colour
; with distance through linear fog from 10 to 120 units.
Shader {
	Name "Lining"
	Blend {
		Enable no
		Lighting no
	}
	ZBuffer {
		Enable yes
		Write yes
	}
	Cull {
		Enable no
	}
	Fog {
		Enable yes
		Function LINEAR
		Start 10
		End 120
		Color 0.024 0.027 0.055 1
	}
	Texture {
		Image "lining"
		TexUnit UNIT0
	}
}
