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

; Cones of light: a faint warm glow added to the picture, never hiding what lies behind.
Shader {
	Name "vol_light"
	Material {
		Enable no
		Diffuse 0.12 0.08 0.04 1
	}
	Blend {
		Enable yes
		Lighting no
		Src ONE
		Dst ONE
	}
	ZBuffer {
		Enable yes
		Write no
	}
	Cull {
		Enable no
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
