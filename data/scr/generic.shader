; The show's material library: images and the materials made of them.
