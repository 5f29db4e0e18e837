; Materials of the geometric world, and the noise picture its backdrop breathes with.

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
	Info "value noise, JPEG"
	Type 2D
	Format RGB
	Name "noise.jpg"
	Alias "noise"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR
	}
}

; The spiked ball: gold.
Shader {
	Name "GeoSpikes"
	Material {
		Enable yes
		Ambient 0.20 0.14 0.05 1
		Diffuse 0.92 0.74 0.44 1
		Specular 1 0.95 0.8 1
		Emission 0 0 0 1
		Shininess 64
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}

; The ring: violet.
Shader {
	Name "GeoRing"
	Material {
		Enable yes
		Ambient 0.10 0.05 0.18 1
		Diffuse 0.50 0.30 0.85 1
		Specular 0.9 0.8 1 1
		Emission 0 0 0 1
		Shininess 64
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}
