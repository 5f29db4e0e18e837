; Materials of the vessel scene.

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
