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
		Mipmap LINEAR_LINEAR
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
		Mipmap LINEAR_LINEAR
	}
}

Image {
	Info "a light's beam, faint frost glow, JPEG"
	Type 2D
	Format RGB
	Name "beam.jpg"
	Alias "beam"
	State {
		Wrap WRAP_S_CLAMP_T
		Filter LINEAR
		Mipmap LINEAR_LINEAR
	}
}

; The tube: dark panels whose seams glow.
Shader {
	Name "TunnelWall"
	Material {
		Enable yes
		Ambient 0.10 0.10 0.18 1
		Diffuse 0.70 0.66 0.90 1
		Specular 0.5 0.5 0.6 1
		Emission 0.10 0.08 0.16 1
		Shininess 20
	}
	Texture {
		Image "tunnelpanel"
		TexUnit UNIT0
	}
}

; Cones of light: a faint frost glow added to the picture, shell over shell, never hiding what
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

; The lights' bodies: glowing frost, the same however the tunnel's lights fall on them.
Shader {
	Name "TunnelLightBody"
	Material {
		Enable yes
		Ambient 0 0 0 1
		Diffuse 0 0 0 1
		Specular 0 0 0 1
		Emission 0.62 0.90 0.98 1
		Shininess 1
	}
}

; The clusters: frost, polished.
Shader {
	Name "TunnelMetaballs"
	Material {
		Enable yes
		Ambient 0.05 0.10 0.14 1
		Diffuse 0.50 0.82 0.92 1
		Specular 1 1 1 1
		Emission 0 0 0 1
		Shininess 80
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}
