; Materials of the water scene: the pool's tiles under the surface and the gold star above it.

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
	Info "pool tiles with caustics, JPEG"
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

; The pool: tiles seen through cold water.
Shader {
	Name "WaterShader"
	Material {
		Enable yes
		Ambient 0.10 0.16 0.24 1
		Diffuse 0.60 0.86 1.0 1
		Specular 0.6 0.8 1 1
		Emission 0 0 0 1
		Shininess 90
	}
	Texture {
		Image "pool"
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
