; Materials of the closing scene, and the noise picture the scene class needs.

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

; The pipes: indigo enamel.
Shader {
	Name "GreetPipe"
	Material {
		Enable yes
		Ambient 0.06 0.06 0.16 1
		Diffuse 0.36 0.34 0.80 1
		Specular 0.9 0.9 1 1
		Emission 0 0 0 1
		Shininess 70
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}

; The knot: ember, polished.
Shader {
	Name "GreetDings"
	Material {
		Enable yes
		Ambient 0.20 0.08 0.04 1
		Diffuse 1.0 0.56 0.25 1
		Specular 1 0.9 0.7 1
		Emission 0 0 0 1
		Shininess 70
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}
