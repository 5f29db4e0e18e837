; Materials of the vessel scene: the glazed vessel on its plinth, the night panorama around it,
; the land and the copper spires.

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
	Info "cellar stone blocks, JPEG"
	Type 2D
	Format RGB
	Name "stone.jpg"
	Alias "stone"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR_LINEAR
	}
}

Image {
	Info "night panorama wrapped round the horizon, JPEG"
	Type 2D
	Format RGB
	Name "viz_panorama.jpg"
	Alias "panorama"
	State {
		Wrap WRAP_S_CLAMP_T
		Filter LINEAR
		Mipmap LINEAR_LINEAR
	}
}

; The vessel: glazed frost.
Shader {
	Name "VizVessel"
	Material {
		Enable yes
		Ambient 0.06 0.10 0.16 1
		Diffuse 0.55 0.78 0.92 1
		Specular 1 1 1 1
		Emission 0 0 0 1
		Shininess 90
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}

; The plinth: stone.
Shader {
	Name "VizPlinth"
	Material {
		Enable yes
		Ambient 0.08 0.07 0.10 1
		Diffuse 0.60 0.52 0.60 1
		Specular 0 0 0 1
		Emission 0 0 0 1
		Shininess 48
	}
	Texture {
		Image "stone"
		TexUnit UNIT0
	}
}

; The sky: the panorama as painted, whatever the lights do (emission only).
Shader {
	Name "VizSky"
	Material {
		Enable yes
		Ambient 0 0 0 1
		Diffuse 0 0 0 1
		Specular 0 0 0 1
		Emission 1 1 1 1
		Shininess 0
	}
	Texture {
		Image "panorama"
		TexUnit UNIT0
	}
}

; The land: stone under a deep violet night.
Shader {
	Name "VizLand"
	Material {
		Enable yes
		Ambient 0.10 0.08 0.18 1
		Diffuse 0.46 0.38 0.62 1
		Specular 0 0 0 1
		Emission 0 0 0 1
		Shininess 8
	}
	Texture {
		Image "stone"
		TexUnit UNIT0
	}
}

; The spires: polished copper, glowing faintly so they hold against the night.
Shader {
	Name "VizSpire"
	Material {
		Enable yes
		Ambient 0.32 0.15 0.07 1
		Diffuse 0.95 0.56 0.26 1
		Specular 1 0.86 0.62 1
		Emission 0.10 0.04 0.015 1
		Shininess 40
	}
}
