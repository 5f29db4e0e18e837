; Materials of the tunnel: the ribbed panels, the additive cones of light and the frost metaballs.

Image {
	Info "studio sheen for sphere-mapped gloss, JPEG"
	Type 2D
	Format RGB
	Name "sheen.jpg"
	Alias "sheen"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
		Apply {
			Mode ADD
		}
		Envmap {
			Mode SPHERE
		}
	}
}

Image {
	Info "tunnel panels with glowing seams, JPEG"
	Type 2D
	Format RGB
	Name "tunnel-panel.jpg"
	Alias "tunnelpanel"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
	}
}

Image {
	Info "a light's body: cream core burning into amber, JPEG"
	Type 2D
	Format RGB
	Name "light-core.jpg"
	Alias "lightcore"
	State {
		Wrap WRAP_S_CLAMP_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
	}
}

Image {
	Info "the tunnel's way out: a warm glare, JPEG"
	Type 2D
	Format RGB
	Name "tunnel-exit.jpg"
	Alias "tunnelexit"
	State {
		Wrap WRAP_S_CLAMP_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
	}
}

Image {
	Info "a light's beam, faint amber glow, JPEG"
	Type 2D
	Format RGB
	Name "beam.jpg"
	Alias "beam"
	State {
		Wrap WRAP_S_CLAMP_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
	}
}

; The tube: violet panels whose seams glow, seen from inside only (the outside of a bend
; beyond the walls never needs drawing). The scene draws it unlit, after the volumetric lights,
; whose shells write no depth: the wall adds its colour to what is under it (DST_ALPHA is 1 on
; a fresh pixel) and clears the alpha it leaves, so where the tube overlaps itself the nearer
; wall replaces the farther one instead of adding to it.
Shader {
	Name "TunnelWall"
	Material {
		Enable no
		Diffuse 0.62 0.56 0.80 1
	}
	Blend {
		Enable yes
		Lighting no
		Src ONE
		Dst DST_ALPHA
		Src.Alpha ZERO
		Dst.Alpha ZERO
	}
	Cull {
		Enable yes
		Function BACK
		Winding CCW
	}
	Texture {
		Image "tunnelpanel"
		TexUnit UNIT0
	}
}

; Cones of light: a faint amber glow added to the picture, shell over shell, never hiding what
; lies behind.
Shader {
	Name "vol_light"
	Material {
		Enable no
		Diffuse 0.12 0.08 0.04 1
	}
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
		Image "beam"
		TexUnit UNIT0
	}
}

; The lights' bodies: a glowing core added to the picture (the scene draws them unlit). They
; are drawn before the tube: their depth keeps the tube from covering a body in front of it, and
; their alpha of 0 lets the tube replace a body that lies behind a wall.
Shader {
	Name "TunnelLightBody"
	Material {
		Enable no
		Diffuse 1 1 1 1
	}
	Blend {
		Enable yes
		Lighting no
		Src ONE
		Dst ONE
		Src.Alpha ZERO
		Dst.Alpha ZERO
	}
	ZBuffer {
		Enable yes
		Write yes
	}
	Cull {
		Enable no
	}
	Texture {
		Image "lightcore"
		TexUnit UNIT0
	}
}

; Embers: the show's glow sprite, its alpha shaping the spark, added to the picture.
Shader {
	Name "TunnelEmber"
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
		Image "glow"
		TexUnit UNIT0
	}
}

; The way out at the far end of the tube: a warm glare, the same whatever light falls on it.
Shader {
	Name "TunnelExit"
	Material {
		Enable yes
		Ambient 0 0 0 1
		Diffuse 0 0 0 1
		Specular 0 0 0 1
		Emission 1 1 1 1
		Shininess 1
	}
	Texture {
		Image "tunnelexit"
		TexUnit UNIT0
	}
}

; The clusters: frost, polished. Their alpha is 0, so the tube drawn after them (see TunnelWall)
; replaces them where it lies in front instead of adding to them.
Shader {
	Name "TunnelMetaballs"
	Material {
		Enable yes
		Ambient 0.05 0.10 0.14 1
		Diffuse 0.50 0.82 0.92 0
		Specular 1 1 1 1
		Emission 0 0 0 1
		Shininess 80
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}
