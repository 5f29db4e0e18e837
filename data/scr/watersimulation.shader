; Materials of the water scene: the refracted pool under the surface, its stone deck and the
; gold star above it.

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
	Info "cellar stone, JPEG"
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
	Info "the pool unfolded: floor in the centre, walls around it, with caustics, JPEG"
	Type 2D
	Format RGB
	Name "pool.jpg"
	Alias "pool"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR_LINEAR
	}
}

; The water: the refracted pool picture on unit 1 (the surface sends its coordinates there),
; shaded by the surface's view-angle colour.
Shader {
	Name "WaterShader"
	Texture {
		Image "pool"
		TexUnit UNIT1
	}
}

; The deck around the water: warm stone under the key light.
Shader {
	Name "WaterDeck"
	Material {
		Enable yes
		Ambient 0.22 0.18 0.20 1
		Diffuse 0.85 0.74 0.66 1
		Specular 0.2 0.2 0.2 1
		Emission 0 0 0 1
		Shininess 12
	}
	Texture {
		Image "stone"
		TexUnit UNIT0
	}
}

; The star: polished gold.
Shader {
	Name "WaterStar"
	Material {
		Enable yes
		Ambient 0.20 0.14 0.05 1
		Diffuse 0.95 0.72 0.35 1
		Specular 1 0.95 0.8 1
		Emission 0 0 0 1
		Shininess 70
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}
